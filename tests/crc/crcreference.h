// A deliberately plain CRC for the tests: the bytes each EAC mode selects, run bit by bit
// through the reflected CRC-32, with no table and no zlib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace crcref {

inline std::uint32_t Step(std::uint32_t reg, std::uint8_t byte) {
  reg ^= byte;
  for (int bit = 0; bit < 8; ++bit)
    reg = (reg & 1u) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
  return reg;
}

// The bytes a mode feeds from one buffer, by the definition of the mode.
inline std::vector<std::uint8_t> Selected(int mode, const std::uint8_t *p, std::size_t size) {
  std::vector<std::uint8_t> out;
  if (mode == 0)
    out.assign(p, p + size);
  for (std::size_t i = 0; mode == 1 && i + 2 <= size; i += 2) {
    if (p[i] != 0 || p[i + 1] != 0)
      out.insert(out.end(), {p[i], p[i + 1]});
  }
  for (std::size_t i = 0; mode == 2 && i + 4 <= size; i += 4) {
    if (p[i] != 0 || p[i + 1] != 0)
      out.insert(out.end(), {p[i], p[i + 1]});
  }
  return out;
}

// The register after feeding one buffer in a mode.
inline std::uint32_t Feed(std::uint32_t reg, int mode, const std::uint8_t *p, std::size_t size) {
  for (std::uint8_t byte : Selected(mode, p, size))
    reg = Step(reg, byte);
  return reg;
}

inline std::uint32_t Value(int mode, const std::vector<std::uint8_t> &pcm) {
  return Feed(0xFFFFFFFFu, mode, pcm.data(), pcm.size()) ^ 0xFFFFFFFFu;
}

} // namespace crcref
