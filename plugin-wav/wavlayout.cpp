// Reading the header of a RIFF WAVE file: the chunk walk and the format chunk.
#include "plugin-wav/wavlayout.h"

#include "plugin-wav/wavbytes.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint32_t kStreamedSize = 0xFFFFFFFF;
constexpr std::size_t kFormatChunkMin = 16;
constexpr std::size_t kFormatChunkExtensible = 40;
// The sub-format GUID of integer PCM after its first four bytes (which hold the format tag).
constexpr unsigned char kPcmGuidTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                            0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool ReadAt(std::FILE *file, std::uint64_t offset, void *buffer, std::size_t size) {
  if (offset > static_cast<std::uint64_t>(LLONG_MAX))
    return false;
  if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0)
    return false;
  return std::fread(buffer, 1, size, file) == size;
}

bool HasPcmShape(std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign,
                 std::uint16_t bits) {
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return false;
  if (channels == 0 || rate == 0)
    return false;
  if (static_cast<std::uint32_t>(channels) * bits != static_cast<std::uint32_t>(blockAlign) * 8)
    return false;
  return static_cast<std::uint64_t>(rate) * blockAlign <= 0xFFFFFFFFu;
}

// The format chunk's body (size bytes of it present). False for anything but integer PCM.
bool ParseFormatChunk(const unsigned char *body, std::size_t size, WaveStreamFormat &format) {
  if (size < kFormatChunkMin)
    return false;
  const std::uint16_t tag = GetLE16(body);
  const std::uint16_t channels = GetLE16(body + 2);
  const std::uint32_t rate = GetLE32(body + 4);
  const std::uint16_t blockAlign = GetLE16(body + 12);
  const std::uint16_t bits = GetLE16(body + 14);
  if (tag == kFormatExtensible) {
    if (size < kFormatChunkExtensible || GetLE16(body + 16) < 22)
      return false;
    const std::uint16_t validBits = GetLE16(body + 18);
    if (validBits > bits)
      return false;
    if (GetLE32(body + 24) != WAVESTREAM_FORMAT_PCM ||
        std::memcmp(body + 28, kPcmGuidTail, sizeof kPcmGuidTail) != 0)
      return false;
  } else if (tag != WAVESTREAM_FORMAT_PCM) {
    return false;
  }
  if (!HasPcmShape(channels, rate, blockAlign, bits))
    return false;
  format.formatTag = WAVESTREAM_FORMAT_PCM;
  format.channels = channels;
  format.samplesPerSec = rate;
  format.avgBytesPerSec = rate * blockAlign;
  format.blockAlign = blockAlign;
  format.bitsPerSample = bits;
  format.size = WAVESTREAM_FORMAT_SIZE;
  return true;
}

} // namespace

bool IsWritableWavFormat(const WaveStreamFormat &format) {
  return format.size == WAVESTREAM_FORMAT_SIZE && format.formatTag == WAVESTREAM_FORMAT_PCM &&
         HasPcmShape(format.channels, format.samplesPerSec, format.blockAlign,
                     format.bitsPerSample);
}

bool ReadWavLayout(std::FILE *file, std::uint64_t fileSize, TWavLayout &layout) {
  unsigned char riff[12];
  if (fileSize < sizeof riff || !ReadAt(file, 0, riff, sizeof riff))
    return false;
  if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
    return false;

  bool haveFormat = false;
  bool haveData = false;
  bool dataToEnd = false;
  std::uint64_t dataOffset = 0;
  std::uint64_t dataBytes = 0;
  std::uint64_t pos = sizeof riff;
  while (pos + 8 <= fileSize && !(haveFormat && haveData) && !dataToEnd) {
    unsigned char header[8];
    if (!ReadAt(file, pos, header, sizeof header))
      return false;
    const std::uint32_t size = GetLE32(header + 4);
    const std::uint64_t body = pos + 8;
    const std::uint64_t present = std::min<std::uint64_t>(size, fileSize - body);
    if (std::memcmp(header, "fmt ", 4) == 0 && !haveFormat) {
      unsigned char chunk[kFormatChunkExtensible] = {};
      const std::size_t take =
          static_cast<std::size_t>(std::min<std::uint64_t>(present, sizeof chunk));
      if (!ReadAt(file, body, chunk, take) || !ParseFormatChunk(chunk, take, layout.Format))
        return false;
      haveFormat = true;
    } else if (std::memcmp(header, "data", 4) == 0 && !haveData) {
      haveData = true;
      dataOffset = body;
      dataToEnd = size == 0 || size == kStreamedSize || size > fileSize - body;
      dataBytes = dataToEnd ? fileSize - body : size;
    }
    pos = body + size + (size & 1);
  }
  if (!haveFormat || !haveData)
    return false;
  layout.DataOffset = dataOffset;
  const std::uint64_t frames = dataBytes / layout.Format.blockAlign;
  layout.Frames = static_cast<int>(std::min<std::uint64_t>(frames, INT_MAX));
  return true;
}
