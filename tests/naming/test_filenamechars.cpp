// MapFileNameChars: the nine forbidden characters replaced through the character map.
#include "messages/str.h"
#include "naming/filenamechars.h"
#include "naming_test_support.h"

namespace {

struct MapCase {
  const char16_t *text;
  const char16_t *expected;
};

void PrintTo(const MapCase &c, std::ostream *os) {
  *os << Q(c.text).toStdString();
}

class FileNameChars : public testing::TestWithParam<MapCase> {};

TEST_P(FileNameChars, DefaultMap) {
  EXPECT_EQ(MapFileNameChars(Q(GetParam().text), str::_env_default_charmap),
            Q(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, FileNameChars,
                         testing::Values(MapCase{u"AC/DC: Live?", u"AC／DC： Live？"},
                                         MapCase{u"\\/:*?\"<>|", u"￥／：＊？”＜＞｜"},
                                         MapCase{u"a\tb\nc\x7F"
                                                 "d",
                                                 u"a b c d"},
                                         MapCase{u"..", u".."}, MapCase{u"", u""},
                                         MapCase{u"曲名 – ok.mp3", u"曲名 – ok.mp3"}));

TEST(FileNameChars, UsesTheGivenMapPositionForPosition) {
  EXPECT_EQ(MapFileNameChars(u"a\\b/c:d*e?f\"g<h>i|"_qs, u"123456789"_qs),
            u"a1b2c3d4e5f6g7h8i9"_qs);
  // A map that lacks positions falls back to the default map there.
  EXPECT_EQ(MapFileNameChars(u"a/b|"_qs, u"_-"_qs), u"a-b｜"_qs);
}

TEST(FileNameChars, ForbiddenCharacters) {
  EXPECT_EQ(ForbiddenFileNameCharIndex(u'\\'), 0);
  EXPECT_EQ(ForbiddenFileNameCharIndex(u'|'), 8);
  EXPECT_EQ(ForbiddenFileNameCharIndex(u'a'), -1);
  EXPECT_TRUE(ContainsForbiddenFileNameChar(u"a<b"_qs));
  EXPECT_FALSE(ContainsForbiddenFileNameChar(u"[MP3] ^x="_qs));
}

} // namespace
