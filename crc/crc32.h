// The audio CRC as EAC computes it: the standard CRC-32 over the PCM bytes, or over the non-zero
// samples only (both channels, or the left channel alone).
#pragma once

#include "crc/crctable.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TCrc32Base {
public:
  TCrc32Base() { TCrc32Base::Reset(); }
  virtual ~TCrc32Base() = default;

  // The CRC of everything fed since the last reset.
  virtual std::uint32_t GetValue() const { return Register ^ 0xFFFFFFFFu; }
  virtual void Reset() { Register = 0xFFFFFFFFu; }
  // Feeds size bytes; the base feeds them one by one through UpdateByte.
  virtual void Update(const void *data, std::size_t size);
  virtual void UpdateByte(std::uint8_t byte) = 0;

  std::uint32_t Register;
};

class TCrc32EAC : public TCrc32Base {
public:
  enum : int { ModeNormal = 0, ModeZeroSkipLR = 1, ModeZeroSkipL = 2 };

  // Takes a share of the process-wide table, or makes its own when none is built.
  TCrc32EAC();

  // Feeds a block of 16-bit little-endian stereo PCM as Mode says:
  // Normal: every byte. ZS-LR: every sample that is not 0 (an odd last byte is ignored).
  // ZS-L: the left sample of every frame whose left sample is not 0 (a partial frame at the end
  // is ignored). Any other mode feeds nothing. Equal, byte for byte, to UpdateByte over the bytes
  // each mode selects.
  void Update(const void *data, std::size_t size) override;
  void UpdateByte(std::uint8_t byte) override {
    Register = (Register >> 8) ^ (*table_)[(Register ^ byte) & 0xFFu];
  }

  int Mode = ModeNormal;

private:
  std::shared_ptr<const TCrcTable> table_;
};
