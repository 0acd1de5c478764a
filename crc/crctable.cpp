// The process-wide CRC-32 table and its lifetime.
#include "crc/crctable.h"

#include <mutex>

namespace {

std::mutex tableLock;
std::shared_ptr<const TCrcTable> table;

std::uint32_t Reflect(std::uint32_t value, int bits) {
  std::uint32_t result = 0;
  for (int i = 0; i < bits; ++i) {
    result = (result << 1) | (value & 1u);
    value >>= 1;
  }
  return result;
}

} // namespace

TCrcTable MakeCrcTable() {
  constexpr std::uint32_t kPolynomial = 0x04C11DB7u;
  TCrcTable result{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = Reflect(i, 8) << 24;
    for (int bit = 0; bit < 8; ++bit)
      value = (value & 0x80000000u) ? (value << 1) ^ kPolynomial : value << 1;
    result[i] = Reflect(value, 32);
  }
  return result;
}

void BuildCrcTable() {
  std::lock_guard guard(tableLock);
  if (!table)
    table = std::make_shared<const TCrcTable>(MakeCrcTable());
}

void FreeCrcTable() {
  std::lock_guard guard(tableLock);
  table.reset();
}

std::shared_ptr<const TCrcTable> CurrentCrcTable() {
  std::lock_guard guard(tableLock);
  return table;
}
