// Resolving macro names against an album's and a track's tables: user definitions against cue
// values, priority fallback, undefinitions, one type per reference list, case.
#include "macros/expand.h"
#include "macros/resolve.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

QString U(const char16_t *s) {
  return QString::fromUtf16(s);
}

// The text a reference gives, or "<fail>".
QString Expand(const QString &tmpl, const TMacroScope &scope, bool undefinedIsEmpty = false) {
  QString result;
  return ExpandTemplate(tmpl, scope, undefinedIsEmpty, result) ? result : U(u"<fail>");
}

class Resolve : public ::testing::Test {
protected:
  void SetUp() override {
    One = &Sheet.AddTrack();
    One->SetText(U(u"Title"), U(u"One"), true);
    Sheet.CloseTracks();
  }

  TTestAlbum Sheet;
  TMacroList *One = nullptr;
};

TEST_F(Resolve, UserDefinitionBeatsCueValueInEitherOrder) {
  // Definition before the album's TITLE line: the cue value is refused (the reader ignores it).
  TTestAlbum before;
  EXPECT_TRUE(before.Album.SetText(U(u"ATitle"), U(u"X"), false));
  EXPECT_FALSE(before.Album.SetText(U(u"ATitle"), U(u"Y"), true));
  // Definition after it: the user's value replaces the cue value.
  TTestAlbum after;
  EXPECT_TRUE(after.Album.SetText(U(u"ATitle"), U(u"Y"), true));
  EXPECT_TRUE(after.Album.SetText(U(u"ATitle"), U(u"X"), false));
  for (TTestAlbum *sheet : {&before, &after}) {
    TMacroList &track = sheet->AddTrack();
    track.SetText(U(u"Title"), U(u"One"), true);
    EXPECT_EQ(Expand(U(u"%ATitle%"), sheet->AlbumScope()), U(u"X"));
    EXPECT_EQ(Expand(U(u"%ATitle%"), sheet->TrackScope(1)), U(u"X"));
  }
}

TEST_F(Resolve, SecondAndWrongTypeDefinitionsAreRefused) {
  EXPECT_TRUE(One->SetText(U(u"Disc"), U(u"A"), false));
  EXPECT_FALSE(One->SetText(U(u"Disc"), U(u"B"), false));
  EXPECT_FALSE(One->SetText(U(u"TrackNo"), U(u"seven"), false));
  EXPECT_FALSE(Sheet.Album.SetNumber(U(u"ATitle"), 3, false));
  EXPECT_EQ(Expand(U(u"%Disc%/%TrackNo%"), Sheet.TrackScope(1)), U(u"A/1"));
}

TEST_F(Resolve, PriorityMacroFallsBackFromTrackToAlbum) {
  // Neither level has a genre.
  TMacroType type = mtNone;
  EXPECT_EQ(ResolveMacro(U(u"Genre"), type, Sheet.TrackScope(1)), nullptr);
  EXPECT_EQ(Expand(U(u"%Genre%"), Sheet.TrackScope(1)), U(u"<fail>"));
  EXPECT_EQ(Expand(U(u"%Genre%"), Sheet.TrackScope(1), true), U(u""));
  // Album only: the track takes the album's REM GENRE.
  Sheet.Album.SetText(U(u"AGenre"), U(u"Pop"), true);
  type = mtNone;
  EXPECT_EQ(ResolveMacro(U(u"Genre"), type, Sheet.TrackScope(1)), Sheet.Album.Find(U(u"AGenre")));
  EXPECT_EQ(type, mtText);
  // A second track with its own REM GENRE uses its own.
  TMacroList &two = Sheet.AddTrack();
  two.SetText(U(u"Title"), U(u"Two"), true);
  two.SetText(U(u"TGenre"), U(u"Jazz"), true);
  EXPECT_EQ(Expand(U(u"%Genre%"), Sheet.TrackScope(1)), U(u"Pop"));
  EXPECT_EQ(Expand(U(u"%Genre%"), Sheet.TrackScope(2)), U(u"Jazz"));
  EXPECT_EQ(Expand(U(u"%AGenre%"), Sheet.TrackScope(2)), U(u"Pop"));
  // A user definition of the priority macro itself wins over both.
  EXPECT_TRUE(two.SetText(U(u"Genre"), U(u"Mine"), false));
  EXPECT_EQ(Expand(U(u"%Genre%"), Sheet.TrackScope(2)), U(u"Mine"));
  // Priority macros belong to tracks: album-level use does not know them.
  EXPECT_EQ(Expand(U(u"%Genre%"), Sheet.AlbumScope()), U(u"<fail>"));
}

TEST_F(Resolve, PriorityMacroTakesAnUndefinedTrackMacroAsItsResult) {
  // The track's undefinition is the user's word for this track: no fallback to the album.
  Sheet.Album.SetText(U(u"APerformer"), U(u"Artist"), true);
  EXPECT_TRUE(One->Undefine(U(u"TPerformer")));
  EXPECT_EQ(Expand(U(u"%Performer%"), Sheet.TrackScope(1), true), U(u"<fail>"));
  EXPECT_EQ(Expand(U(u"%APerformer%"), Sheet.TrackScope(1)), U(u"Artist"));
}

TEST_F(Resolve, UndefinedSystemMacroFailsUnknownUndefinedMacroIsEmpty) {
  EXPECT_TRUE(One->Undefine(U(u"Title")));
  EXPECT_TRUE(One->Undefine(U(u"Foo")));
  for (bool undefinedIsEmpty : {false, true}) {
    SCOPED_TRACE(undefinedIsEmpty);
    EXPECT_EQ(Expand(U(u"%Title%"), Sheet.TrackScope(1), undefinedIsEmpty), U(u"<fail>"));
    // The undefined Title is found first; the list does not go on to ATitle.
    EXPECT_EQ(Expand(U(u"%Title;ATitle%"), Sheet.TrackScope(1), undefinedIsEmpty), U(u"<fail>"));
    EXPECT_EQ(Expand(U(u"[%Foo%]"), Sheet.TrackScope(1), undefinedIsEmpty), U(u"[]"));
    EXPECT_EQ(Expand(U(u"[%Foo,'<','>'%]"), Sheet.TrackScope(1), undefinedIsEmpty), U(u"[]"));
  }
  EXPECT_FALSE(One->Undefine(U(u"Title")));
}

TEST_F(Resolve, NamesMatchWithoutRegardToCase) {
  EXPECT_EQ(Expand(U(u"%TRACKNO%"), Sheet.TrackScope(1)), U(u"1"));
  EXPECT_EQ(Expand(U(u"%title%"), Sheet.TrackScope(1)), U(u"One"));
  EXPECT_EQ(Expand(U(u"%tracks%"), Sheet.TrackScope(1)), U(u"1"));
  EXPECT_TRUE(One->SetText(U(u"disc"), U(u"A"), false));
  EXPECT_EQ(Expand(U(u"%DISC%"), Sheet.TrackScope(1)), U(u"A"));
}

TEST_F(Resolve, OneTypePerReferenceList) {
  // The first name found fixes the type; a later name of the other type does not qualify.
  TMacroList &untitled = Sheet.AddTrack();
  TMacroType type = mtNone;
  EXPECT_EQ(ResolveMacro(U(u"Title"), type, Sheet.TrackScope(2)), nullptr);
  EXPECT_EQ(type, mtText);
  EXPECT_EQ(ResolveMacro(U(u"TrackNo"), type, Sheet.TrackScope(2)), nullptr);
  EXPECT_EQ(Expand(U(u"%Title;TrackNo%"), Sheet.TrackScope(2)), U(u"<fail>"));
  EXPECT_EQ(Expand(U(u"%Title;ATitle%"), Sheet.TrackScope(2)), U(u"<fail>"));
  Sheet.Album.SetText(U(u"ATitle"), U(u"Album"), true);
  EXPECT_EQ(Expand(U(u"%Title;ATitle%"), Sheet.TrackScope(2)), U(u"Album"));
  EXPECT_EQ(Expand(U(u"%Foo;TrackNo%"), Sheet.TrackScope(2)), U(u"2"));
  (void)untitled;
}

TEST_F(Resolve, TrackSystemMacroDoesNotFallBackToAlbumMacroOfTheSameName) {
  // A user macro named Title on the album is not used for a track whose Title has no value...
  TMacroList &untitled = Sheet.AddTrack();
  EXPECT_TRUE(Sheet.Album.SetText(U(u"Title"), U(u"Album-wide"), false));
  EXPECT_EQ(Expand(U(u"%Title%"), Sheet.TrackScope(2)), U(u"<fail>"));
  EXPECT_EQ(Expand(U(u"%Title%"), Sheet.AlbumScope()), U(u"Album-wide"));
  // ...but user macros defined only on the album reach every track.
  EXPECT_TRUE(Sheet.Album.SetNumber(U(u"Disc"), 2, false));
  EXPECT_EQ(Expand(U(u"%Disc%"), Sheet.TrackScope(2)), U(u"2"));
  // A track's user macro of the other type leaves the album's macro in reach.
  EXPECT_TRUE(untitled.SetText(U(u"Disc"), U(u"B"), false));
  TMacroType type = mtNumber;
  EXPECT_EQ(ResolveMacro(U(u"Disc"), type, Sheet.TrackScope(2)), Sheet.Album.Find(U(u"Disc")));
}

TEST_F(Resolve, WithoutTablesNothingResolves) {
  TMacroType type = mtNone;
  EXPECT_EQ(ResolveMacro(U(u"Title"), type, TMacroScope{}), nullptr);
  EXPECT_EQ(ResolveMacro(U(u"Title"), type, nullptr, nullptr), nullptr);
  EXPECT_EQ(type, mtNone);
  // The pointer form and the view form agree.
  type = mtNone;
  EXPECT_EQ(ResolveMacro(U(u"Title"), type, &Sheet.Album, One), One->Find(U(u"Title")));
}

} // namespace
