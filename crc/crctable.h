// The CRC-32 lookup table: 256 entries of the reflected CRC-32 (polynomial 0x04C11DB7), shared
// read-only by every CRC object of a run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

using TCrcTable = std::array<std::uint32_t, 256>;

// The table computed entry by entry: i bit-reversed over 8 bits and shifted to the top, eight
// left shifts that xor in the polynomial when the top bit was set, the result bit-reversed.
TCrcTable MakeCrcTable();

// Builds the process-wide table unless it exists. Called when a run starts.
void BuildCrcTable();

// Releases the process-wide table. Called when the batch has ended. A CRC object made while the
// table existed keeps its share of it, so releasing early never leaves one reading freed memory.
void FreeCrcTable();

// The process-wide table, or null when it is not built.
std::shared_ptr<const TCrcTable> CurrentCrcTable();
