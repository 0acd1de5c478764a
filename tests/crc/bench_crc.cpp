// Throughput of TCrc32EAC in each mode over generated PCM in the feeder's block size.
#include "crc/crc32.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

int main() {
  constexpr std::size_t kBytes = 64u << 20; // about six minutes of CD audio
  constexpr std::size_t kBlock = 4u * 4096; // whole frames, as the feeder reads them
  constexpr int kRounds = 5;
  std::vector<unsigned char> pcm(kBytes);
  std::mt19937 random(1);
  for (std::size_t i = 0; i < kBytes; i += 4) {
    // Music with a stretch of digital silence now and then.
    const bool silent = (i / (1u << 20)) % 16 == 0;
    const std::uint32_t frame = silent ? 0u : static_cast<std::uint32_t>(random());
    for (int b = 0; b < 4; ++b)
      pcm[i + b] = static_cast<unsigned char>(frame >> (8 * b));
  }
  BuildCrcTable();
  // The last line is the byte-wise table loop of the base class, for comparison with Normal.
  const char *names[] = {"Normal", "ZS-LR", "ZS-L", "table"};
  for (int mode = 0; mode < 4; ++mode) {
    double best = 0;
    std::uint32_t value = 0;
    for (int round = 0; round < kRounds; ++round) {
      TCrc32EAC crc;
      crc.Mode = mode % 3;
      const auto start = std::chrono::steady_clock::now();
      for (std::size_t at = 0; at < kBytes; at += kBlock) {
        if (mode == 3)
          crc.TCrc32Base::Update(pcm.data() + at, kBlock);
        else
          crc.Update(pcm.data() + at, kBlock);
      }
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      value = crc.GetValue();
      const double rate = kBytes / took.count() / 1e6;
      if (rate > best)
        best = rate;
    }
    std::printf("%-7s %8.0f MB/s  (CRC %08X)\n", names[mode], best, value);
  }
  FreeCrcTable();
  return 0;
}
