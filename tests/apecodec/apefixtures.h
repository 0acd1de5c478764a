// Helpers for the Monkey's Audio tests: the test data files, the PCM that the ffmpeg program
// decodes from them (the oracle), and the total block count a file's own header declares.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace apefixtures {

inline std::string DataFile(const std::string &name) {
  return std::string(QUARROW_TESTDATA_DIR) + "/ape/" + name;
}

// The files of the test data that hold audio. ape-004 is listed as a header without audio, but
// its one frame is a complete frame of digital silence (both channels flagged silent, the stored
// CRC equal to that of 162,496 silent frames), so it is a valid 3.96 file.
inline const std::vector<std::string> &AudioFiles() {
  static const std::vector<std::string> files = {"real-3990-3s.ape", "real-3990-apev2-id3v1.ape",
                                                 "ape-004-v3960-header-only.ape"};
  return files;
}

// Files that are no decodable Monkey's Audio: a header whose frames lie beyond the file's end,
// crafted headers, a WAV under an .ape name.
inline const std::vector<std::string> &RefusedFiles() {
  static const std::vector<std::string> files = {
      "ape-005-v3900-header-only.ape", "ape-007-crafted-huge-frame-count.ape",
      "ape-008-crafted-version-150-zero-rate.ape", "ape-009-fake-wav-bytes-with-ape-name.ape"};
  return files;
}

inline std::vector<unsigned char> ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string &path, const std::vector<unsigned char> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// What `ffmpeg -i FILE -f s16le -` writes; empty when ffmpeg fails.
inline std::vector<unsigned char> FfmpegPcm(const std::string &path) {
  const std::string command = "ffmpeg -v error -nostdin -i '" + path + "' -f s16le - 2>/dev/null";
  std::vector<unsigned char> pcm;
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe)
    return pcm;
  unsigned char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    pcm.insert(pcm.end(), buffer, buffer + got);
  if (pclose(pipe) != 0)
    pcm.clear();
  return pcm;
}

inline uint32_t Le32(const std::vector<unsigned char> &b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
inline uint16_t Le16(const std::vector<unsigned char> &b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// What a file's own header declares, read independently of any decoder.
struct DeclaredHeader {
  int version = 0;
  int64_t blocksPerFrame = 0;
  int64_t totalBlocks = -1;
  int64_t firstFramePosition = 0; // 3.98+ layout only
};

// 3.98+: a descriptor ("MAC ", version, descriptor length at 8, header length at 12) and then
// the header (blocks per frame at 4, final frame blocks at 8, total frames at 12), the seek
// table after it. Older: the header follows the version (compression level at 6, total frames
// at 24, final frame blocks at 28) and the blocks per frame follow from version and level.
inline DeclaredHeader ReadDeclaredHeader(const std::vector<unsigned char> &b) {
  DeclaredHeader h;
  if (b.size() < 32 || std::string(b.begin(), b.begin() + 4) != "MAC ")
    return h;
  h.version = Le16(b, 4);
  int64_t frames = 0, finalBlocks = 0;
  if (h.version >= 3980) {
    const size_t header = Le32(b, 8);
    if (b.size() < header + Le32(b, 12) + 4)
      return h;
    h.blocksPerFrame = Le32(b, header + 4);
    finalBlocks = Le32(b, header + 8);
    frames = Le32(b, header + 12);
    h.firstFramePosition = Le32(b, header + Le32(b, 12));
  } else {
    const int level = Le16(b, 6);
    frames = Le32(b, 24);
    finalBlocks = Le32(b, 28);
    h.blocksPerFrame = h.version >= 3950                                           ? 73728 * 4
                       : h.version >= 3900 || (h.version >= 3800 && level == 4000) ? 73728
                                                                                   : 9216;
  }
  h.totalBlocks = frames == 0 ? 0 : (frames - 1) * h.blocksPerFrame + finalBlocks;
  return h;
}

} // namespace apefixtures
