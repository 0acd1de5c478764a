// ParseBangList and MakeBangList: the stored form of one tag definition.
#include "naming/banglist.h"
#include "naming_test_support.h"

namespace {

struct ParseCase {
  const char16_t *text;
  bool ok;
  QStringList fields;
};

void PrintTo(const ParseCase &c, std::ostream *os) {
  *os << Q(c.text).toStdString();
}

class BangListParse : public testing::TestWithParam<ParseCase> {};

TEST_P(BangListParse, Reads) {
  const ParseCase &c = GetParam();
  QStringList fields;
  EXPECT_EQ(ParseBangList(Q(c.text), fields), c.ok);
  if (c.ok) {
    EXPECT_EQ(fields, c.fields);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BangListParse,
    testing::Values(ParseCase{u"!TALB!;!%ATitle%!", true, {"TALB", "%ATitle%"}},
                    ParseCase{u"!a!!b!;!c!", true, {"a!b", "c"}}, ParseCase{u"!a!x", false, {}},
                    ParseCase{u"", true, {}},
                    ParseCase{u"TALB!;!x!", true, {}}, // no leading "!": read, but no fields
                    ParseCase{u"!a!;", true, {"a"}},   // a trailing ";" is allowed
                    ParseCase{u"!a!;;!b!", false, {}}, ParseCase{u"!a!;x", false, {}},
                    ParseCase{u"!abc", false, {}}, // no closing "!"
                    ParseCase{u"!", false, {}},    // no closing "!"
                    ParseCase{u"!!", true, {""}},  // one empty field
                    ParseCase{u"!!;!!", true, {"", ""}}, ParseCase{u"!!!!", true, {"!"}},
                    ParseCase{u"!a;b!;!c!", true, {"a;b", "c"}}, // ";" inside a field is plain text
                    ParseCase{u"!TALB!;!%ATitle%!;!x!", true, {"TALB", "%ATitle%", "x"}}));

TEST(BangList, MakeDoublesBangsAndReadsBack) {
  const QStringList samples[] = {{"TALB", "%ATitle%"}, {"a!b", "c"}, {"!", ""},
                                 {"a!;b", "!!x!"},     {""},         {}};
  for (const QStringList &fields : samples) {
    const QString text = MakeBangList(fields);
    QStringList back;
    ASSERT_TRUE(ParseBangList(text, back)) << text.toStdString();
    EXPECT_EQ(back, fields) << text.toStdString();
  }
  EXPECT_EQ(MakeBangList({"a!b", "c"}), u"!a!!b!;!c!"_qs);
  EXPECT_EQ(MakeBangList({}), QString());
}

} // namespace
