// TACCList: rule order, first match, undefined and empty macros, and the batch's rule list.
#include "coordinator/acclist.h"

#include "macros/test_support.h"

#include <gtest/gtest.h>

namespace {

class ACCList : public testing::Test {
protected:
  void SetUp() override {
    album.Album.SetText(u"AGenre"_qs, u"Jazz Fusion"_qs, true);
    album.Album.SetText(u"ATitle"_qs, u"Live at Budokan"_qs, true);
    album.Album.SetText(u"AComment"_qs, QString(), true); // defined but empty
    TMacroList &t1 = album.AddTrack();
    t1.SetText(u"Title"_qs, u"Opening"_qs, true);
    TMacroList &t2 = album.AddTrack();
    t2.SetText(u"Title"_qs, u"Encore (live)"_qs, true);
    t2.SetText(u"TGenre"_qs, u"Rock"_qs, true);
    album.CloseTracks();
  }

  TTestAlbum album;
};

TEST_F(ACCList, FirstMatchingRuleWins) {
  TACCList list;
  list.AddRule(3, u'=', u"Classic"_qs, u"AGenre"_qs); // no match
  list.AddRule(2, u'^', u"jazz"_qs, u"AGenre"_qs);    // matches only as text
  list.AddRule(5, u'>', u"Fusion"_qs, u"AGenre"_qs);  // matches, but comes later
  list.AddRule(1, u'>', u"Live"_qs, u"ATitle"_qs);

  TACCStatus status;
  EXPECT_EQ(list.Evaluate(album.TrackScope(1), true, &status), 2);
  EXPECT_EQ(status.MacroName, u"AGenre"_qs);
  EXPECT_EQ(status.Keyword, u"jazz"_qs);
  EXPECT_EQ(status.Condition, QChar(u'^'));
  EXPECT_EQ(status.Level, 2);

  TACCStatus exact;
  EXPECT_EQ(list.Evaluate(album.TrackScope(1), false, &exact), 5);
  EXPECT_EQ(exact.Keyword, u"Fusion"_qs);
  EXPECT_EQ(exact.Level, 5);
}

TEST_F(ACCList, TrackValuesAndPriorityMacros) {
  TACCList list;
  list.AddRule(4, u'>', u"live"_qs, u"Title"_qs);
  list.AddRule(3, u'=', u"Rock"_qs, u"Genre"_qs); // priority macro: track first, then album
  list.AddRule(1, u'^', u"Jazz"_qs, u"Genre"_qs);
  EXPECT_EQ(list.Evaluate(album.TrackScope(1), false, nullptr), 1); // Genre from the album
  EXPECT_EQ(list.Evaluate(album.TrackScope(2), false, nullptr), 4);
  TACCStatus status;
  EXPECT_EQ(list.Evaluate(album.TrackScope(2), false, &status), 4);
  EXPECT_EQ(status.MacroName, u"Title"_qs);
}

TEST_F(ACCList, NumberMacrosMatchTheirDecimalText) {
  TACCList list;
  list.AddRule(2, u'=', u"2"_qs, u"TrackNo"_qs);
  EXPECT_EQ(list.Evaluate(album.TrackScope(1), false, nullptr), 0);
  EXPECT_EQ(list.Evaluate(album.TrackScope(2), false, nullptr), 2);
}

TEST_F(ACCList, UndefinedOrEmptyMacrosNeverMatch) {
  TACCList list;
  list.AddRule(5, u'>', u"x"_qs, u"NoSuchMacro"_qs); // unknown: fails without undefinedIsEmpty
  list.AddRule(4, u'^', u"a"_qs, u"AComposer"_qs);   // system macro without a value
  list.AddRule(3, u'=', u"'',x"_qs, u"AComment"_qs); // defined but empty
  list.AddRule(2, u'$', u"Budokan"_qs, u"ATitle"_qs);
  TACCStatus status;
  EXPECT_EQ(list.Evaluate(album.TrackScope(1), false, &status), 2);
  EXPECT_EQ(status.MacroName, u"ATitle"_qs);
}

TEST_F(ACCList, NoMatchLeavesStatusAlone) {
  TACCList list;
  list.AddRule(2, u'=', u"Pop"_qs, u"AGenre"_qs);
  TACCStatus status{u"before"_qs, u"k"_qs, u'>', 9};
  EXPECT_EQ(list.Evaluate(album.TrackScope(1), true, &status), 0);
  EXPECT_EQ(status.MacroName, u"before"_qs);
  EXPECT_EQ(status.Level, 9);
  EXPECT_EQ(TACCList().Evaluate(album.TrackScope(1), true, &status), 0);
}

TEST_F(ACCList, BuildFromStoredRules) {
  const QStringList entries{
      u"3:AGenre=Pop"_qs,
      u"6:AGenre=Jazz Fusion"_qs, // rejected: level above 5
      u"4:AGenre=Jazz Fusion"_qs, // level 4 has no encoder options here
      u"2:AGenre^jazz"_qs,        u"1:AGenre>Fusion"_qs,
      u"2:AGenre:Jazz"_qs, // rejected
  };
  const auto list = BuildACCList(entries, [](int level) { return level != 4; });
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->MacroName(0), u"AGenre"_qs);
  EXPECT_EQ(list->Item(0).Level, 3);
  EXPECT_EQ(list->Item(1).Level, 2);
  EXPECT_EQ(list->Item(1).Condition, QChar(u'^'));
  EXPECT_EQ(list->Item(2).Keywords(), QStringList{u"Fusion"_qs});
  EXPECT_EQ(list->Evaluate(album.TrackScope(1), true, nullptr), 2);
  EXPECT_EQ(list->Evaluate(album.TrackScope(1), false, nullptr), 1);
}

} // namespace
