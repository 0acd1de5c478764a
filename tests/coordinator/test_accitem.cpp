// TACCItem::Match: the four conditions under both AccMatchAsText values.
#include "coordinator/accitem.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
  char16_t condition;
  const char16_t *keywords;
  const char16_t *value;
  int asText; // result with AccMatchAsText on
  int exact;  // result with it off
};

const MatchCase MatchCases[] = {
    // equality
    {u'=', u"Jazz", u"Jazz", 0, 0},
    {u'=', u"Jazz", u"jazz", 0, -1},
    {u'=', u"Jazz", u"Jazz ", -1, -1},
    {u'=', u"Jazz", u"Jaz", -1, -1},
    {u'=', u"Pop,Jazz", u"JAZZ", 1, -1},
    {u'=', u"Ünïcode", u"üNÏCODE", 0, -1},
    {u'=', u"ジャズ", u"ジャズ", 0, 0},
    // prefix
    {u'^', u"Classic", u"Classical", 0, 0},
    {u'^', u"Classic", u"classical", 0, -1},
    {u'^', u"Classic", u"Neoclassic", -1, -1},
    {u'^', u"Classic", u"Class", -1, -1}, // shorter than the keyword
    {u'^', u"\"Classic, Baroque\"", u"Classic, Baroque and more", 0, 0},
    // suffix
    {u'$', u"rock,pop", u"J-pop", 1, 1},
    {u'$', u"rock,pop", u"J-POP", 1, -1},
    {u'$', u"rock,pop", u"rocky", -1, -1},
    {u'$', u"rock", u"ock", -1, -1},
    // containment
    {u'>', u"Live", u"Live at Budokan", 0, 0},
    {u'>', u"Live", u"LIVE AT BUDOKAN", 0, -1},
    {u'>', u"Live", u"Studio", -1, -1},
    {u'>', u"ライブ", u"武道館ライブ盤", 0, 0},
    {u'>', u"straße", u"DIE STRASSE", 0, -1}, // upper-casing by the locale's rules
    // first keyword that matches wins
    {u'>', u"x,a,b", u"ab", 1, 1},
    // any other condition counts as equality
    {u'?', u"Jazz", u"jazz", 0, -1},
    // an empty value never matches, not even an empty keyword list entry
    {u'^', u"a", u"", -1, -1},
};

TEST(ACCItem, Match) {
  for (const MatchCase &c : MatchCases) {
    const TACCItem item(2, QString::fromUtf16(c.keywords), QChar(c.condition));
    const QString value = QString::fromUtf16(c.value);
    SCOPED_TRACE((QString(QChar(c.condition)) + QString::fromUtf16(c.keywords) + u" / "_qs + value)
                     .toStdString());
    EXPECT_EQ(item.Match(value, true), c.asText);
    EXPECT_EQ(item.Match(value, false), c.exact);
  }
}

TEST(ACCItem, KeywordsFromTheList) {
  const TACCItem item(4, u" rock , 'a,b' ,, \"x\\ty\" ,"_qs, u'$');
  EXPECT_EQ(item.Level, 4);
  EXPECT_EQ(item.Condition, QChar(u'$'));
  EXPECT_EQ(item.Keywords(), (QStringList{u"rock"_qs, u"a,b"_qs, u"x\ty"_qs}));
  ASSERT_EQ(item.Count(), 3);
  EXPECT_EQ(item.Keyword(1), u"a,b"_qs);
}

TEST(ACCItem, WithoutKeywordsNothingMatches) {
  const TACCItem item(1, u"'unclosed"_qs, u'>');
  EXPECT_EQ(item.Count(), 0);
  EXPECT_EQ(item.Match(u"unclosed"_qs, true), -1);
}

} // namespace
