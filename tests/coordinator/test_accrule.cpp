// ParseACCRule, keyword normalisation and keyword lists: accepted and rejected rules.
#include "coordinator/accrule.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct AcceptedCase {
  const char16_t *text;
  int level;
  char16_t condition;
  const char16_t *macroName;
  const char16_t *keywords; // normalised
};

const AcceptedCase Accepted[] = {
    {u"3:AGenre=Jazz", 3, u'=', u"AGenre", u"Jazz"},
    {u"2:AGenre^Classic,Baroque", 2, u'^', u"AGenre", u"Classic,Baroque"},
    {u"2:ATitle>Live", 2, u'>', u"ATitle", u"Live"},
    {u"1:AGenre^\"Classic, Baroque\"", 1, u'^', u"AGenre", u"\"Classic, Baroque\""},
    {u"2:AGenre$rock , pop ,", 2, u'$', u"AGenre", u"rock,pop"},
    {u" 5 :Title=x", 5, u'=', u"Title", u"x"},
    {u"1:T1=abc", 1, u'=', u"T1", u"abc"},
    {u"2:A=b", 2, u'=', u"A", u"b"}, // the shortest rule
    // Only the first special character after the colon is the condition.
    {u"4:AGenre>a=b^c", 4, u'>', u"AGenre", u"a=b^c"},
    {u"2:AGenre= a ,, 'b,c' ,", 2, u'=', u"AGenre", u"a,'b,c'"},
    {u"2:AGenre=ジャズ,クラシック", 2, u'=', u"AGenre", u"ジャズ,クラシック"},
    // The first piece is kept even when empty.
    {u"2:AGenre=,x", 2, u'=', u"AGenre", u",x"},
};

const char16_t *const Rejected[] = {
    u"6:AGenre=Jazz",  // level above 5
    u"0:AGenre=Jazz",  // level 0
    u"-1:AGenre=Jazz", // negative level
    u"x:AGenre=Jazz",  // level not a number
    u"$3:AGenre=Jazz", // a special character before the colon
    u"2:1Genre=Jazz",  // name starts with a digit
    u"2:AGenre:Jazz",  // second colon
    u"2:AGenre=",      // no keywords
    u"2:AGenre= , ,",  // keywords that normalise to nothing
    u"2AGenre=Jazz",   // the first special character is not a colon
    u":AGenre=Jazz",   // no level
    u"2:=Jazz",        // no macro name
    u"2:A Genre=Jazz", // a blank in the name
    u"2:A_Genre=Jazz", // not a letter or digit
    u"2:AGenreJazz",   // no condition
    u"2:AG",           // too short
    u"",
};

TEST(ParseACCRule, Accepted) {
  for (const AcceptedCase &c : Accepted) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    TACCRule rule;
    ASSERT_TRUE(ParseACCRule(text, rule));
    EXPECT_EQ(rule.Level, c.level);
    EXPECT_EQ(rule.Condition, QChar(c.condition));
    EXPECT_EQ(rule.MacroName, QString::fromUtf16(c.macroName));
    EXPECT_EQ(rule.Keywords, QString::fromUtf16(c.keywords));
  }
}

TEST(ParseACCRule, Rejected) {
  for (const char16_t *c : Rejected) {
    const QString text = QString::fromUtf16(c);
    TACCRule rule{4, u'=', u"stale"_qs, u"Stale"_qs};
    EXPECT_FALSE(ParseACCRule(text, rule)) << text.toStdString();
    EXPECT_EQ(rule.Level, 0);
    EXPECT_TRUE(rule.Keywords.isEmpty());
    EXPECT_TRUE(rule.MacroName.isEmpty());
  }
}

struct KeywordCase {
  const char16_t *list;
  std::vector<const char16_t *> keywords;
};

const KeywordCase KeywordCases[] = {
    {u"rock,pop", {u"rock", u"pop"}},
    {u"rock , pop ,", {u"rock", u"pop"}},
    {u"\"Classic, Baroque\"", {u"Classic, Baroque"}},
    {u"' a ' , \"b\"", {u" a ", u"b"}},
    {u"'it''s',\"say \\\"hi\\\"\"", {u"it's", u"say \"hi\""}},
    {u"'\\x41\\102\\t'", {u"AB\t"}},
    {u",,x,,", {u"x"}},
    {u"'bad,ok", {}},        // an unclosed quote: one piece, not a valid quoted string
    {u"'bad'x,ok", {u"ok"}}, // a piece that is no valid quoted string is left out
    {u"", {}},
};

TEST(ACCKeywords, Parse) {
  for (const KeywordCase &c : KeywordCases) {
    const QString list = QString::fromUtf16(c.list);
    QStringList want;
    for (const char16_t *k : c.keywords)
      want << QString::fromUtf16(k);
    EXPECT_EQ(ParseACCKeywords(list), want) << list.toStdString();
    // A normalised list reads as the same keywords.
    EXPECT_EQ(ParseACCKeywords(NormalizeACCKeywords(list)), want) << list.toStdString();
  }
}

TEST(ACCConditionName, DialogNames) {
  EXPECT_EQ(ACCConditionName(u'='), u"と一致する"_qs);
  EXPECT_EQ(ACCConditionName(u'^'), u"で始まる"_qs);
  EXPECT_EQ(ACCConditionName(u'$'), u"で終わる"_qs);
  EXPECT_EQ(ACCConditionName(u'>'), u"を含む"_qs);
  EXPECT_EQ(ACCConditionName(u':'), QString());
}

} // namespace
