// RenameDirComponents: the nine pattern forms of the rename rules and how rules are chosen.
#include "messages/str.h"
#include "naming/dirrename.h"
#include "naming_test_support.h"

namespace {

struct RenameCase {
  const char *label;
  QStringList rules;
  const char16_t *input;
  QStringList expected; // components of the result; empty: the input comes back unchanged
};

void PrintTo(const RenameCase &c, std::ostream *os) {
  *os << c.label;
}

class DirRename : public testing::TestWithParam<RenameCase> {};

TEST_P(DirRename, Applies) {
  const RenameCase &c = GetParam();
  const QString input = Q(c.input);
  const QString expected = c.expected.isEmpty() ? input : Joined(c.expected);
  EXPECT_EQ(RenameDirComponents(input, true, c.rules), expected);
}

INSTANTIATE_TEST_SUITE_P(
    NineForms, DirRename,
    testing::Values(
        // p: every occurrence in every component; found with case, replaced without
        RenameCase{"anywhere", {"EAC=MP3"}, u"eac EAC", {"MP3 MP3"}},
        RenameCase{"anywhere, every component", {"EAC=MP3"}, u"EAC\\xEACx", {"MP3", "xMP3x"}},
        RenameCase{"anywhere, case-sensitive find", {"EAC=MP3"}, u"eac only", {}},
        // ^p: the start of any component
        RenameCase{"start", {"^[EAC]=[MP3]"}, u"Artist\\[EAC] Album", {"Artist", "[MP3] Album"}},
        RenameCase{"start, case-sensitive", {"^[EAC]=[MP3]"}, u"Artist\\[eac] Album", {}},
        RenameCase{"start, not inside", {"^[EAC]=[MP3]"}, u"x[EAC]", {}},
        RenameCase{
            "start, all components", {"^[EAC]=[MP3]"}, u"[EAC]a/[EAC]b", {"[MP3]a", "[MP3]b"}},
        // p^: the end of any component
        RenameCase{"end", {"Disc1^=CD1"}, u"A Disc1\\B Disc1", {"A CD1", "B CD1"}},
        RenameCase{"end, not at start", {"Disc1^=CD1"}, u"Disc1 x", {}},
        // ^p^: a whole component
        RenameCase{"whole", {"^Disc^=X"}, u"A\\Disc", {"A", "X"}},
        RenameCase{"whole, not a part", {"^Disc^=X"}, u"A\\Disc2", {}},
        // p^^: the end of the last component only
        RenameCase{"end of last", {"EAC^^=MP3"}, u"EAC\\xEAC", {"EAC", "xMP3"}},
        RenameCase{"end of last, not others", {"EAC^^=MP3"}, u"xEAC\\y", {}},
        // ^p^^: the whole last component only
        RenameCase{"whole last", {"^Disc^^=X"}, u"Disc\\Disc", {"Disc", "X"}},
        RenameCase{"whole last, not others", {"^Disc^^=X"}, u"Disc\\A", {}},
        // ^^p: the start of the first component only
        RenameCase{"start of first", {"^^Rip=Enc"}, u"Rip A\\Rip B", {"Enc A", "Rip B"}},
        RenameCase{"start of first, not others", {"^^Rip=Enc"}, u"A\\Rip B", {}},
        // ^^p^: the whole first component only
        RenameCase{"whole first", {"^^Disc^=X"}, u"Disc\\Disc", {"X", "Disc"}},
        RenameCase{"whole first, not others", {"^^Disc^=X"}, u"A\\Disc", {}},
        // ^^p^^: the whole name of exactly one component
        RenameCase{"whole name", {"^^Disc^^=X"}, u"Disc", {"X"}},
        RenameCase{"whole name, two components", {"^^Disc^^=X"}, u"A\\Disc", {}},
        RenameCase{"whole name, first of two", {"^^Disc^^=X"}, u"Disc\\A", {}}));

INSTANTIATE_TEST_SUITE_P(
    Rules, DirRename,
    testing::Values(RenameCase{"forbidden colon skipped", {"a:b=c", "a=z"}, u"a:b a", {"z:b z"}},
                    RenameCase{"forbidden in replacement", {"a=b/c"}, u"a", {}},
                    RenameCase{"first matching rule only", {"x=y", "A=B", "A=C"}, u"A", {"B"}},
                    RenameCase{"three leading marks", {"^^^x=y"}, u"x", {}},
                    RenameCase{"three trailing marks", {"x^^^=y"}, u"x", {}},
                    RenameCase{"marks only", {"^^=y", "^=y"}, u"^^", {}},
                    RenameCase{"empty pattern", {"=y"}, u"x", {}},
                    RenameCase{"no equals sign", {"x"}, u"x", {}},
                    RenameCase{"replacement may hold '='", {"x=a=b"}, u"x", {"a=b"}},
                    RenameCase{"empty component kept", {"^^A=Z"}, u"A\\\\B", {"Z", "", "B"}},
                    RenameCase{"trailing delimiter adds none", {"B^^=C"}, u"A\\B\\", {"A", "C"}}));

TEST(DirRename, OffOrWithoutRulesKeepsTheInput) {
  EXPECT_EQ(RenameDirComponents(u"Artist\\[EAC] Album"_qs, false, {"^[EAC]=[MP3]"}),
            u"Artist\\[EAC] Album"_qs);
  EXPECT_EQ(RenameDirComponents(u"Artist\\[EAC] Album"_qs, true, {}), u"Artist\\[EAC] Album"_qs);
}

TEST(DirRename, EmptyResultIsTheUnknownName) {
  EXPECT_EQ(RenameDirComponents(u"EAC"_qs, true, {"^EAC^="}), str::_txt_UnknownDirName);
  EXPECT_EQ(str::_txt_UnknownDirName, u"UnknownTittle"_qs);
}

} // namespace
