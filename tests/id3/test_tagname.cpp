// ParseTagName and CanonicalTagName: the tag-name validity rules.
#include "id3/tagname.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  const char16_t *name;
  int type;
  const char16_t *id;
  const char16_t *extension;
  bool latin1;
};

void PrintTo(const NameCase &c, std::ostream *os) {
  *os << QString::fromUtf16(c.name).toStdString();
}

const NameCase NameCases[] = {
    // valid
    {u"TALB", ftText, u"TALB", u"", false},
    {u"@TALB", ftText, u"TALB", u"", true},
    {u"@TRCK", ftText, u"TRCK", u"", true},
    {u"tit2", ftText, u"TIT2", u"", false},
    {u"TXXX", ftText, u"TXXX", u"", false},
    {u"TXXX.DISCID", ftUserText, u"TXXX", u"DISCID", false},
    {u"txxx.DISCID", ftUserText, u"TXXX", u"DISCID", false},
    {u"TXXX.discid", ftUserText, u"TXXX", u"discid", false},
    {u"TXXX. with blanks ", ftUserText, u"TXXX", u"with blanks", false},
    {u"@TXXX.x", ftUserText, u"TXXX", u"x", true},
    {u"WOAR", ftURL, u"WOAR", u"", false},
    {u"WXXX", ftURL, u"WXXX", u"", false},
    {u"WXXX.shop", ftUserURL, u"WXXX", u"shop", false},
    {u"COMM.eng", ftComment, u"COMM", u"eng", false},
    {u"COMM.jpn.memo", ftComment, u"COMM", u"jpn.memo", false},
    {u"@COMM.eng", ftComment, u"COMM", u"eng", true},
    {u"T123", ftText, u"T123", u"", false},
    // invalid
    {u"", ftInvalid, u"", u"", false},
    {u"TAL", ftInvalid, u"", u"", false},
    {u"@TAL", ftInvalid, u"", u"", false},
    {u"TALBX", ftInvalid, u"", u"", false},
    {u"@TALBX", ftInvalid, u"", u"", false},
    {u"TALB.x", ftInvalid, u"", u"", false},
    {u"XALB", ftInvalid, u"", u"", false},
    {u"T_LB", ftInvalid, u"", u"", false},
    {u"TÄLB", ftInvalid, u"", u"", false},
    {u"COMM", ftInvalid, u"", u"", false},
    {u"COMM.e1g", ftInvalid, u"", u"", false},
    {u"COMM.eng.", ftInvalid, u"", u"", false},
    {u"COMM.en", ftInvalid, u"", u"", false},
    {u"COMM.engX", ftInvalid, u"", u"", false},
    {u"COMM.engXmemo", ftInvalid, u"", u"", false},
    {u"TXXX. ", ftInvalid, u"", u"", false},
    {u"TXXX.", ftInvalid, u"", u"", false},
    {u"WOAR.x", ftInvalid, u"", u"", false},
};

class TagNames : public testing::TestWithParam<NameCase> {};

TEST_P(TagNames, Parse) {
  const NameCase &c = GetParam();
  const TTagName name = ParseTagName(QString::fromUtf16(c.name));
  EXPECT_EQ(name.Type, c.type);
  EXPECT_EQ(name.ID, QString::fromUtf16(c.id));
  EXPECT_EQ(name.Extension, QString::fromUtf16(c.extension));
  EXPECT_EQ(name.Latin1, c.latin1);
}

INSTANTIATE_TEST_SUITE_P(Cases, TagNames, testing::ValuesIn(NameCases));

TEST(TagName, Canonical) {
  EXPECT_EQ(CanonicalTagName(u"txxx"_qs, u"DISCID"_qs), u"TXXX.DISCID"_qs);
  EXPECT_EQ(CanonicalTagName(u"TXXX"_qs, u"discid"_qs), u"TXXX.discid"_qs);
  EXPECT_EQ(CanonicalTagName(u"talb"_qs, QString()), u"TALB"_qs);
}

} // namespace
