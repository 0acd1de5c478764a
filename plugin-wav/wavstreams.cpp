// Reading and writing the sample frames of WAV files.
#include "plugin-wav/wavstreams.h"

#include "plugin-wav/wavbytes.h"

#include <algorithm>
#include <climits>
#include <sys/stat.h>

namespace {

constexpr std::size_t kHeaderSize = 44;
// The largest data chunk a RIFF file can describe: its size field, and the RIFF size, which
// also counts the rest of the header and the pad byte, are 32 bits.
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderSize - 8) - 1;

bool SeekTo(std::FILE *file, std::uint64_t offset) {
  return offset <= static_cast<std::uint64_t>(LLONG_MAX) &&
         fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

// A header for a file whose data chunk holds dataBytes bytes.
void BuildHeader(unsigned char (&header)[kHeaderSize], const WaveStreamFormat &format,
                 std::uint64_t dataBytes) {
  const std::uint32_t data = static_cast<std::uint32_t>(dataBytes);
  std::copy_n("RIFF", 4, header);
  PutLE32(header + 4, static_cast<std::uint32_t>(kHeaderSize - 8 + dataBytes + (dataBytes & 1)));
  std::copy_n("WAVEfmt ", 8, header + 8);
  PutLE32(header + 16, 16);
  PutLE16(header + 20, WAVESTREAM_FORMAT_PCM);
  PutLE16(header + 22, format.channels);
  PutLE32(header + 24, format.samplesPerSec);
  PutLE32(header + 28, format.samplesPerSec * format.blockAlign);
  PutLE16(header + 32, format.blockAlign);
  PutLE16(header + 34, format.bitsPerSample);
  std::copy_n("data", 4, header + 36);
  PutLE32(header + 40, data);
}

} // namespace

std::unique_ptr<TWavReader> TWavReader::Open(const char *fileName) {
  std::FILE *file = std::fopen(fileName, "rb");
  if (!file)
    return nullptr;
  struct stat info {};
  TWavLayout layout;
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) ||
      !ReadWavLayout(file, static_cast<std::uint64_t>(info.st_size), layout)) {
    std::fclose(file);
    return nullptr;
  }
  return std::unique_ptr<TWavReader>(new TWavReader(file, layout));
}

TWavReader::TWavReader(std::FILE *file, const TWavLayout &layout) : file_(file), layout_(layout) {
  format_ = layout.Format;
}

TWavReader::~TWavReader() {
  std::fclose(file_);
}

bool TWavReader::Seek(std::uint32_t position) {
  if (position >= static_cast<std::uint32_t>(layout_.Frames))
    return false;
  position_ = static_cast<int>(position);
  return true;
}

int TWavReader::Read(void *buffer, int frames) {
  if (frames <= 0 || position_ >= layout_.Frames)
    return 0;
  const int wanted = std::min(frames, layout_.Frames - position_);
  const std::size_t frameBytes = format_.blockAlign;
  const std::uint64_t offset =
      layout_.DataOffset + static_cast<std::uint64_t>(position_) * frameBytes;
  if (!SeekTo(file_, offset))
    return -1;
  const std::size_t got =
      std::fread(buffer, 1, static_cast<std::size_t>(wanted) * frameBytes, file_) / frameBytes;
  if (got == 0)
    return -1; // the file no longer holds what its header promised
  position_ += static_cast<int>(got);
  return static_cast<int>(got);
}

std::unique_ptr<TWavWriter> TWavWriter::Create(const char *fileName, const WaveStreamFormat &format,
                                               bool overwrite) {
  if (!IsWritableWavFormat(format))
    return nullptr;
  // "x" creates the file only when it does not exist, in one step with the check.
  std::FILE *file = std::fopen(fileName, overwrite ? "wb" : "wbx");
  if (!file)
    return nullptr;
  unsigned char header[kHeaderSize];
  BuildHeader(header, format, 0);
  if (std::fwrite(header, 1, sizeof header, file) != sizeof header) {
    std::fclose(file);
    std::remove(fileName);
    return nullptr;
  }
  return std::unique_ptr<TWavWriter>(new TWavWriter(file, fileName, format));
}

TWavWriter::TWavWriter(std::FILE *file, std::string fileName, const WaveStreamFormat &format)
    : file_(file), fileName_(std::move(fileName)) {
  format_ = format;
}

TWavWriter::~TWavWriter() {
  const bool complete = Complete();
  if (std::fclose(file_) != 0 || !complete)
    std::remove(fileName_.c_str());
}

bool TWavWriter::Complete() {
  if (failed_)
    return false;
  if ((dataBytes_ & 1) && std::fputc(0, file_) == EOF)
    return false;
  unsigned char header[kHeaderSize];
  BuildHeader(header, format_, dataBytes_);
  return SeekTo(file_, 0) && std::fwrite(header, 1, sizeof header, file_) == sizeof header &&
         std::fflush(file_) == 0;
}

int TWavWriter::Write(const void *buffer, int frames) {
  if (frames < 0 || (frames > 0 && !buffer))
    return -1;
  const std::uint64_t bytes = static_cast<std::uint64_t>(frames) * format_.blockAlign;
  if (dataBytes_ + bytes > kMaxDataBytes || frames > INT_MAX - frames_)
    return -1;
  if (bytes > 0 && std::fwrite(buffer, 1, static_cast<std::size_t>(bytes), file_) != bytes) {
    failed_ = true;
    return -1;
  }
  dataBytes_ += bytes;
  frames_ += frames;
  return frames;
}
