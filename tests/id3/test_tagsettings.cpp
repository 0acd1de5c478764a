// ID3TagOptionsFromSettings: version, revision, encoding, byte-order mark, terminator, padding.
#include "id3/tagsettings.h"

#include <gtest/gtest.h>

namespace {

struct MappingCase {
  const char *what;
  TID3TagSettings settings;
  std::uint16_t version;
  std::uint8_t encoding;
  bool omitBOM;
  std::uint16_t padding;
};

void PrintTo(const MappingCase &c, std::ostream *os) {
  *os << c.what;
}

TID3TagSettings Make(int mj, int code23, int code24, int pad = 256, int mn23 = 0, int mn24 = 0) {
  TID3TagSettings s;
  s.TagVerMJ = mj;
  s.TagTextCodeV23 = code23;
  s.TagTextCodeV24 = code24;
  s.TagPadSize = pad;
  s.TagVerMNV23 = mn23;
  s.TagVerMNV24 = mn24;
  return s;
}

const MappingCase MappingCases[] = {
    {"defaults", TID3TagSettings{}, 0x0300, 1, false, 256},
    {"v2.3 Latin-1", Make(3, 0, 3), 0x0300, 0, true, 256},
    {"v2.3 UTF-16", Make(3, 1, 3), 0x0300, 1, false, 256},
    // ID3v2.3 has no UTF-16BE encoding byte; its UTF-16 must carry a byte-order mark.
    {"v2.3 UTF-16BE becomes UTF-16 with BOM", Make(3, 2, 0), 0x0300, 1, false, 256},
    {"v2.3 UTF-8 is not in ID3v2.3", Make(3, 3, 0), 0x0300, 1, false, 256},
    {"v2.3 negative code", Make(3, -5, 1), 0x0300, 0, true, 256},
    {"v2.4 Latin-1", Make(4, 1, 0), 0x0400, 0, true, 256},
    {"v2.4 UTF-16", Make(4, 0, 1), 0x0400, 1, false, 256},
    {"v2.4 UTF-16BE without BOM", Make(4, 0, 2), 0x0400, 2, true, 256},
    {"v2.4 UTF-8 without BOM", Make(4, 0, 3), 0x0400, 3, true, 256},
    {"v2.4 code out of range", Make(4, 0, 7), 0x0400, 1, false, 256},
    {"v2.4 negative code", Make(4, 0, -1), 0x0400, 0, true, 256},
    {"revision of the chosen version", Make(4, 0, 3, 256, 7, 9), 0x0409, 3, true, 256},
    {"revision of v2.3", Make(3, 0, 3, 256, 7, 9), 0x0307, 0, true, 256},
    {"revision cut to 8 bits", Make(3, 0, 3, 256, 0x1FF, 0), 0x03FF, 0, true, 256},
    {"TagVerMJ 260 is 4", Make(260, 0, 3), 0x0400, 3, true, 256},
    {"other major versions write v2.3", Make(2, 0, 3), 0x0300, 0, true, 256},
    {"padding 0", Make(3, 0, 0, 0), 0x0300, 0, true, 0},
    {"padding 4096", Make(3, 0, 0, 4096), 0x0300, 0, true, 4096},
    {"negative padding", Make(3, 0, 0, -1), 0x0300, 0, true, 0},
    {"padding above the range", Make(3, 0, 0, 70000), 0x0300, 0, true, 4096},
};

class Mapping : public testing::TestWithParam<MappingCase> {};

TEST_P(Mapping, FromSettings) {
  const MappingCase &c = GetParam();
  const TID3TagOptions o = ID3TagOptionsFromSettings(c.settings);
  EXPECT_EQ(o.Version, c.version) << c.what;
  EXPECT_EQ(o.Encoding, c.encoding) << c.what;
  EXPECT_EQ(o.OmitBOM, c.omitBOM) << c.what;
  EXPECT_EQ(o.Padding, c.padding) << c.what;
  EXPECT_EQ(o.Terminate, c.settings.TagTermNull) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, Mapping, testing::ValuesIn(MappingCases));

TEST(TagSettings, TerminatorFollowsTagTermNull) {
  TID3TagSettings s;
  s.TagTermNull = true;
  EXPECT_TRUE(ID3TagOptionsFromSettings(s).Terminate);
  s.TagTermNull = false;
  EXPECT_FALSE(ID3TagOptionsFromSettings(s).Terminate);
}

} // namespace
