// BuildID3TagList: the batch's global tag definitions from the TagList setting.
#include "macros/quoting.h"
#include "messages/str.h"
#include "naming/globaltaglist.h"
#include "naming_test_support.h"

namespace {

QStringList DefaultTagList() {
  return SplitOutsideQuotes(str::_env_default_id3tags, u',', u'!');
}

TEST(GlobalTagList, DefaultDefinitions) {
  const auto list = BuildID3TagList({true, DefaultTagList()});
  ASSERT_NE(list, nullptr);
  const QStringList names = {"TALB",  "TPE2",  "TIT2",  "TPE1",        "@TRCK",
                             "@TYER", "@TRDA", "TCON",  "TCOM",        "TPE3",
                             "TEXT",  "TSRC",  "@TPOS", "TXXX.DISCID", "COMM.eng"};
  const QStringList templates = {
      "%ATitle%",       "%APerformer%", "%Title%",      "%Performer%", "%TrackNO%/%Tracks%",
      "%YearRel;Date%", "%Year%",       "%Genre%",      "%Composer%",  "%Conductor%",
      "%Lyricist%",     "%ISRC%",       "%DiscNumber%", "%DiscID%",    "%Comment%"};
  ASSERT_EQ(list->Count(), names.size());
  for (int i = 0; i < list->Count(); ++i) {
    EXPECT_EQ(list->Name(i), names[i]);
    EXPECT_EQ(list->Template(i), templates[i]);
  }
}

TEST(GlobalTagList, NoneWhenTagsAreOffOrTheListIsEmpty) {
  EXPECT_EQ(BuildID3TagList({false, DefaultTagList()}), nullptr);
  EXPECT_EQ(BuildID3TagList({true, {}}), nullptr);
  // Items that all fail to parse still give a list, an empty one.
  const auto list = BuildID3TagList({true, {"junk"}});
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count(), 0);
}

TEST(GlobalTagList, ASecondDefinitionReplacesTheTemplateInPlace) {
  const auto list =
      BuildID3TagList({true, {"!TALB!;!a!", "!TIT2!;!b!", "!talb!;!c!", "!@TIT2!;!d!"}});
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Name(0), u"TALB"_qs);
  EXPECT_EQ(list->Template(0), u"c"_qs);
  EXPECT_EQ(list->Name(1), u"TIT2"_qs);
  EXPECT_EQ(list->Template(1), u"b"_qs);
  EXPECT_EQ(list->Name(2), u"@TIT2"_qs); // "@TIT2" and "TIT2" are two entries
  EXPECT_EQ(list->IndexOf(u"@tit2"_qs), 2);
}

TEST(GlobalTagList, MalformedItemsAreSkipped) {
  const auto list = BuildID3TagList(
      {true, {"!TALB!;!%ATitle%!;!x!", "TALB!;!x!", "!TALB!", "!TALB!;!x", "!a!x", "!TPE1!;!ok!"}});
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Name(0), u"TPE1"_qs);
}

// The tag-name validity rules decide which settings items count.
struct NameCase {
  const char16_t *name;
  bool valid;
};

void PrintTo(const NameCase &c, std::ostream *os) {
  *os << Q(c.name).toStdString() << (c.valid ? " valid" : " invalid");
}

class GlobalTagName : public testing::TestWithParam<NameCase> {};

TEST_P(GlobalTagName, Validity) {
  const QString item = u"!"_qs + Q(GetParam().name).replace(u"!"_qs, u"!!"_qs) + u"!;!x!"_qs;
  const auto list = BuildID3TagList({true, {item}});
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count(), GetParam().valid ? 1 : 0) << item.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, GlobalTagName,
                         testing::Values(NameCase{u"TAL", false}, NameCase{u"@TAL", false},
                                         NameCase{u"TALBX", false}, NameCase{u"TALB.x", false},
                                         NameCase{u"XALB", false}, NameCase{u"COMM", false},
                                         NameCase{u"COMM.e1g", false},
                                         NameCase{u"COMM.eng.", false}, NameCase{u"", false},
                                         NameCase{u"@TALB", true}, NameCase{u"COMM.eng", true},
                                         NameCase{u"COMM.jpn.memo", true}, NameCase{u"TXXX", true},
                                         NameCase{u"WOAR", true}, NameCase{u"txxx.DISCID", true},
                                         NameCase{u"WXXX.shop", true}, NameCase{u"TALB", true}));

} // namespace
