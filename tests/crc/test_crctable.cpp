// The CRC table: its known entries, its agreement with the bitwise CRC, and its lifetime.
#include "crc/crc32.h"
#include "crc/crctable.h"
#include "crcreference.h"

#include <gtest/gtest.h>

namespace {

TEST(CrcTable, EntriesAreTheReflectedCrc32OfEachByte) {
  const TCrcTable table = MakeCrcTable();
  EXPECT_EQ(table[0], 0u);
  EXPECT_EQ(table[1], 0x77073096u);
  EXPECT_EQ(table[255], 0x2D02EF8Du);
  for (std::uint32_t i = 0; i < 256; ++i)
    EXPECT_EQ(table[i], crcref::Step(0, static_cast<std::uint8_t>(i))) << i;
}

TEST(CrcTable, BuildOnceFreeAndObjectsKeepTheirShare) {
  FreeCrcTable();
  EXPECT_EQ(CurrentCrcTable(), nullptr);
  BuildCrcTable();
  const auto first = CurrentCrcTable();
  ASSERT_NE(first, nullptr);
  BuildCrcTable();
  EXPECT_EQ(CurrentCrcTable(), first) << "a second build must not replace the table";
  EXPECT_EQ(*first, MakeCrcTable());

  TCrc32EAC crc;
  FreeCrcTable();
  EXPECT_EQ(CurrentCrcTable(), nullptr);
  for (char c : {'a', 'b', 'c'})
    crc.UpdateByte(static_cast<std::uint8_t>(c));
  EXPECT_EQ(crc.GetValue(), 0x352441C2u);

  TCrc32EAC withoutTable;
  withoutTable.UpdateByte('a');
  EXPECT_EQ(withoutTable.GetValue(), 0xE8B7BE43u);
}

} // namespace
