// The three EAC update modes. Each ends in zlib's crc32 over the bytes the mode selects: the
// buffer itself in Normal mode and the non-zero runs of ZS-LR mode, a compacted copy of the left
// samples in ZS-L mode.
#include "crc/crc32.h"

#include <cstring>
#include <zlib.h>

namespace {

// Collects selected bytes and runs them through zlib in large pieces; long runs go straight
// from the caller's buffer.
class TCrcSink {
public:
  explicit TCrcSink(std::uint32_t registerValue) : crc_(registerValue ^ 0xFFFFFFFFu) {}

  void Put(const unsigned char *bytes, std::size_t size) {
    if (size >= kDirect) {
      Flush();
      Feed(bytes, size);
      return;
    }
    if (used_ + size > sizeof(buffer_))
      Flush();
    std::memcpy(buffer_ + used_, bytes, size);
    used_ += size;
  }

  // Room for at least two more bytes, written by the caller at Cursor().
  unsigned char *Cursor() {
    if (used_ + 2 > sizeof(buffer_))
      Flush();
    return buffer_ + used_;
  }
  void Advance(std::size_t size) { used_ += size; }

  // The CRC register after every byte put.
  std::uint32_t Finish() {
    Flush();
    return crc_ ^ 0xFFFFFFFFu;
  }

private:
  static constexpr std::size_t kDirect = 4096;

  void Flush() {
    Feed(buffer_, used_);
    used_ = 0;
  }
  void Feed(const unsigned char *bytes, std::size_t size) {
    crc_ = static_cast<std::uint32_t>(crc32_z(crc_, bytes, size));
  }

  std::uint32_t crc_;
  std::size_t used_ = 0;
  unsigned char buffer_[16384];
};

// True when one of the four 16-bit lanes of x is zero.
bool HasZeroSample(std::uint64_t x) {
  return ((x - 0x0001000100010001ull) & ~x & 0x8000800080008000ull) != 0;
}

std::uint32_t UpdateZeroSkipLR(std::uint32_t registerValue, const unsigned char *p,
                               std::size_t size) {
  TCrcSink sink(registerValue);
  const std::size_t end = size & ~static_cast<std::size_t>(1);
  std::size_t i = 0;
  while (i < end) {
    while (i < end && (p[i] | p[i + 1]) == 0)
      i += 2;
    const std::size_t start = i;
    for (std::uint64_t four; i + 8 <= end; i += 8) {
      std::memcpy(&four, p + i, 8);
      if (HasZeroSample(four))
        break;
    }
    while (i < end && (p[i] | p[i + 1]) != 0)
      i += 2;
    if (i > start)
      sink.Put(p + start, i - start);
  }
  return sink.Finish();
}

std::uint32_t UpdateZeroSkipL(std::uint32_t registerValue, const unsigned char *p,
                              std::size_t size) {
  TCrcSink sink(registerValue);
  const unsigned char *end = p + (size & ~static_cast<std::size_t>(3));
  for (; p < end; p += 4) {
    unsigned char *out = sink.Cursor();
    out[0] = p[0];
    out[1] = p[1];
    sink.Advance((p[0] | p[1]) != 0 ? 2 : 0);
  }
  return sink.Finish();
}

} // namespace

void TCrc32Base::Update(const void *data, std::size_t size) {
  const auto *bytes = static_cast<const std::uint8_t *>(data);
  for (std::size_t i = 0; i < size; ++i)
    UpdateByte(bytes[i]);
}

TCrc32EAC::TCrc32EAC() : table_(CurrentCrcTable()) {
  if (!table_)
    table_ = std::make_shared<const TCrcTable>(MakeCrcTable());
}

void TCrc32EAC::Update(const void *data, std::size_t size) {
  const auto *bytes = static_cast<const unsigned char *>(data);
  switch (Mode) {
  case ModeNormal:
    if (size > 0)
      Register =
          static_cast<std::uint32_t>(crc32_z(Register ^ 0xFFFFFFFFu, bytes, size)) ^ 0xFFFFFFFFu;
    break;
  case ModeZeroSkipLR:
    Register = UpdateZeroSkipLR(Register, bytes, size);
    break;
  case ModeZeroSkipL:
    Register = UpdateZeroSkipL(Register, bytes, size);
    break;
  default:
    break;
  }
}
