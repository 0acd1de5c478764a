// The macro table: registration, cue values, user definitions and undefinitions, and the flags
// each step leaves behind.
#include "macros/macrolist.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

QString U(const char16_t *s) {
  return QString::fromUtf16(s);
}

constexpr quint32 Sys = TMacroValue::SystemMacro;
constexpr quint32 Prio = TMacroValue::Priority;
constexpr quint32 User = TMacroValue::UserSet;
constexpr quint32 Has = TMacroValue::HasValue;

TEST(TMacroList, RegistrationKeepsTheFirstEntry) {
  TMacroList list;
  list.AddSystem(U(u"ATitle"), mtText);
  list.AddSystem(U(u"atitle"), mtNumber);
  list.AddPriority(U(u"Genre"), mtText, U(u" TGenre "), U(u"\tAGenre"));
  list.AddPriority(U(u"GENRE"), mtText, U(u"X"), U(u"Y"));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Name(0), U(u"ATitle"));
  EXPECT_EQ(list.Value(0).Type, mtText);
  EXPECT_EQ(list.Value(0).Flags, Sys);
  EXPECT_EQ(list.Name(1), U(u"Genre"));
  EXPECT_EQ(list.Value(1).Flags, Sys | Prio);
  EXPECT_EQ(list.Value(1).Text, U(u"TGenre;AGenre"));
  // Names match without regard to case.
  EXPECT_EQ(list.Find(U(u"ATITLE")), &list.Value(0));
  EXPECT_EQ(list.Find(U(u"genre")), &list.Value(1));
  EXPECT_EQ(list.Find(U(u"Title")), nullptr);
}

TEST(TMacroList, ValuesKeepTheirAddressWhileTheTableGrows) {
  TMacroList list;
  list.AddSystem(U(u"First"), mtText);
  const TMacroValue *first = list.Find(U(u"First"));
  for (int i = 0; i < 100; ++i)
    list.AddSystem(QStringLiteral("M%1").arg(i), mtNumber);
  EXPECT_EQ(list.Find(U(u"first")), first);
}

// One step on a table holding a text system macro T, a number system macro N, a priority macro
// P and nothing else; the result and the flags and value of the named macro afterwards.
struct Step {
  enum Op { Text, Number, Undef } op;
  const char16_t *name;
  bool fromCue;
  bool ok;
  TMacroType type;
  quint32 flags;
};

struct StepCase {
  const char *what;
  std::vector<Step> steps;
};

TEST(TMacroList, SettingAndUndefiningRules) {
  using S = Step;
  const StepCase cases[] = {
      {"cue value on a system macro", {{S::Text, u"T", true, true, mtText, Sys | Has}}},
      {"second cue value refused",
       {{S::Text, u"T", true, true, mtText, Sys | Has},
        {S::Text, u"T", true, false, mtText, Sys | Has}}},
      {"user value after a cue value",
       {{S::Text, u"T", true, true, mtText, Sys | Has},
        {S::Text, u"T", false, true, mtText, Sys | User | Has}}},
      {"cue value after a user value refused",
       {{S::Text, u"T", false, true, mtText, Sys | User | Has},
        {S::Text, u"T", true, false, mtText, Sys | User | Has}}},
      {"second user value refused",
       {{S::Text, u"t", false, true, mtText, Sys | User | Has},
        {S::Text, u"T", false, false, mtText, Sys | User | Has}}},
      {"wrong type for a text macro", {{S::Number, u"T", false, false, mtText, Sys}}},
      {"wrong type for a number macro",
       {{S::Text, u"N", false, false, mtNumber, Sys}, {S::Text, u"N", true, false, mtNumber, Sys}}},
      {"number cue value", {{S::Number, u"N", true, true, mtNumber, Sys | Has}}},
      {"user value on a priority macro drops Priority",
       {{S::Text, u"P", false, true, mtText, Sys | User | Has}}},
      {"cue value on a priority macro drops Priority",
       {{S::Text, u"P", true, true, mtText, Sys | Has}}},
      {"new user macro", {{S::Text, u"Foo", false, true, mtText, User | Has}}},
      {"new user number", {{S::Number, u"Foo", false, true, mtNumber, User | Has}}},
      {"user macro defined twice",
       {{S::Number, u"Foo", false, true, mtNumber, User | Has},
        {S::Number, u"FOO", false, false, mtNumber, User | Has},
        {S::Text, u"Foo", false, false, mtNumber, User | Has},
        {S::Number, u"Foo", true, false, mtNumber, User | Has}}},
      {"undefine a system macro", {{S::Undef, u"T", false, true, mtText, Sys | User}}},
      {"undefine after a cue value",
       {{S::Text, u"T", true, true, mtText, Sys | Has},
        {S::Undef, u"T", false, true, mtText, Sys | User}}},
      {"an undefined macro never changes again",
       {{S::Undef, u"T", false, true, mtText, Sys | User},
        {S::Undef, u"T", false, false, mtText, Sys | User},
        {S::Text, u"T", true, false, mtText, Sys | User},
        {S::Text, u"T", false, false, mtText, Sys | User}}},
      {"undefine after a user value refused",
       {{S::Number, u"N", false, true, mtNumber, Sys | User | Has},
        {S::Undef, u"N", false, false, mtNumber, Sys | User | Has}}},
      {"undefine an unknown name",
       {{S::Undef, u"Foo", false, true, mtNone, User | Has},
        {S::Undef, u"Foo", false, false, mtNone, User | Has},
        {S::Text, u"Foo", false, false, mtNone, User | Has}}},
      {"undefine a user macro refused",
       {{S::Text, u"Foo", false, true, mtText, User | Has},
        {S::Undef, u"Foo", false, false, mtText, User | Has}}},
  };
  for (const StepCase &c : cases) {
    SCOPED_TRACE(c.what);
    TMacroList list;
    list.AddSystem(U(u"T"), mtText);
    list.AddSystem(U(u"N"), mtNumber);
    list.AddPriority(U(u"P"), mtText, U(u"T"), U(u"T"));
    for (size_t i = 0; i < c.steps.size(); ++i) {
      const Step &s = c.steps[i];
      SCOPED_TRACE("step " + std::to_string(i + 1));
      const QString name = U(s.name);
      const TMacroValue *before = list.Find(name);
      const TMacroValue old = before ? *before : TMacroValue();
      bool ok = false;
      switch (s.op) {
      case Step::Text:
        ok = list.SetText(name, QStringLiteral("v%1").arg(i), s.fromCue);
        break;
      case Step::Number:
        ok = list.SetNumber(name, static_cast<qint32>(100 + i), s.fromCue);
        break;
      case Step::Undef:
        ok = list.Undefine(name);
        break;
      }
      EXPECT_EQ(ok, s.ok);
      const TMacroValue *v = list.Find(name);
      ASSERT_NE(v, nullptr);
      EXPECT_EQ(v->Type, s.type);
      EXPECT_EQ(v->Flags, s.flags);
      if (!ok) {
        // A refusal changes nothing.
        EXPECT_EQ(v->Text, old.Text);
        EXPECT_EQ(v->Number, old.Number);
      } else if (s.op == Step::Text) {
        EXPECT_EQ(v->Text, QStringLiteral("v%1").arg(i));
      } else if (s.op == Step::Number) {
        EXPECT_EQ(v->Number, static_cast<qint32>(100 + i));
      }
    }
  }
}

TEST(TMacroList, CueValuesOfTheRealTables) {
  TTestAlbum album;
  TMacroList &track = album.AddTrack();
  // TrackNo and Tracks are set as cue values and refuse text and user numbers afterwards.
  EXPECT_EQ(track.Find(U(u"TrackNo"))->Number, 1);
  EXPECT_EQ(track.Find(U(u"TrackNo"))->Flags, Sys | Has);
  EXPECT_FALSE(track.SetText(U(u"TrackNo"), U(u"one"), false));
  EXPECT_TRUE(track.SetNumber(U(u"TrackNo"), 5, false));
  EXPECT_EQ(track.Find(U(u"TrackNo"))->Number, 5);
  album.AddTrack();
  album.CloseTracks();
  EXPECT_EQ(album.Album.Find(U(u"Tracks"))->Number, 2);
  EXPECT_FALSE(album.Album.SetNumber(U(u"Tracks"), 3, true));
  // Priority entries carry their two names.
  const TMacroValue *performer = track.Find(U(u"Performer"));
  ASSERT_NE(performer, nullptr);
  EXPECT_EQ(performer->Flags, Sys | Prio);
  EXPECT_EQ(performer->Text, U(u"TPerformer;APerformer"));
}

} // namespace
