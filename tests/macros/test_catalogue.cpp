// The built-in macro tables: the start-up check, the keyword tables, the registration and
// dialog lists, and valid macro names.
#include "macros/catalogue.h"
#include "messages/error.h"
#include "messages/str.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

QString U(const char16_t *s) {
  return QString::fromUtf16(s);
}

TEST(IsValidMacroName, AsciiLetterThenLettersOrDigits) {
  const struct {
    const char16_t *text;
    bool valid;
  } cases[] = {
      {u"Title", true},   {u"T", true},           {u"a1B2", true},    {u"TRACKNO", true},
      {u"", false},       {u"1Title", false},     {u"My_Tag", false}, {u"_x", false},
      {u"Ti tle", false}, {u" Title", false},     {u"Title;", false}, {u"Tïtle", false},
      {u"曲名", false},   {u"Ｔｉｔｌｅ", false}, {u"A-B", false},    {u"A.B", false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(U(c.text).toStdString());
    EXPECT_EQ(IsValidMacroName(U(c.text)), c.valid);
  }
}

TEST(ValidateSystemMacroTables, BuiltInTablesPass) {
  EXPECT_TRUE(ValidateSystemMacroTables());
  EXPECT_NO_THROW(CheckSystemMacroTables());
}

// Small tables that pass; each case below breaks one of them in one way.
const QString GoodAlbum =
    U(u"ATitle;T;\"題, ; 名\";S;TITLE,AGenre;T;\"ジャンル\";R;GENRE,Tracks;N;\"数\"");
const QString GoodTrack =
    U(u"Title;T;\"曲名\";S;TITLE,TGenre;T;\"ジャンル\";R;GENRE,TrackNo;N;\"番号\"");
const QString GoodPrio = U(u"Genre;T;\"ジャンル\";TGenre;AGenre");

struct TableCase {
  const char *what;
  QString album, track, prio;
};

TEST(ValidateSystemMacroTables, EachKindOfBrokenTableFails) {
  ASSERT_TRUE(ValidateSystemMacroTables(GoodAlbum, GoodTrack, GoodPrio));
  const QString a = GoodAlbum, t = GoodTrack, p = GoodPrio;
  const TableCase cases[] = {
      {"empty album table", U(u""), t, p},
      {"empty track table", a, U(u""), p},
      {"empty priority table", a, t, U(u"")},
      {"trailing separator", a + u',', t, p},
      {"album entry of 4 fields", U(u"ATitle;T;\"x\";S"), t, p},
      {"album entry of 2 fields", a + U(u",ADate;T"), t, p},
      {"album entry of 6 fields", a + U(u",ADate;T;\"x\";R;DATE;X"), t, p},
      {"invalid album name", a + U(u",A_Date;T;\"x\";R;DATE"), t, p},
      {"album name with a blank", U(u" ATitle;T;\"x\";S;TITLE"), t, p},
      {"album name used twice", a + U(u",ATitle;T;\"x\""), t, p},
      {"track name used by the album, other case", a, t + U(u",atitle;T;\"x\""), p},
      {"type of another letter", a + U(u",ADate;X;\"x\";R;DATE"), t, p},
      {"type in lower case", a + U(u",ADate;t;\"x\";R;DATE"), t, p},
      {"type of two characters", a + U(u",ADate;TT;\"x\";R;DATE"), t, p},
      {"empty type", a + U(u",ADate;;\"x\";R;DATE"), t, p},
      {"source of another letter", a + U(u",ADate;T;\"x\";X;DATE"), t, p},
      {"source of two characters", a + U(u",ADate;T;\"x\";RS;DATE"), t, p},
      {"empty source", a + U(u",ADate;T;\"x\";;DATE"), t, p},
      {"invalid keyword", a + U(u",ADate;T;\"x\";R;RE M"), t, p},
      {"empty keyword", a, t + U(u",TDate;T;\"x\";R;"), p},
      {"track entry of 4 fields", a, t + U(u",TDate;T;\"x\";R"), p},
      {"invalid track name", a, t + U(u",2nd;T;\"x\""), p},
      {"bad track type", a, t + U(u",TDate;N1;\"x\""), p},
      {"priority entry of 4 fields", a, t, U(u"Genre;T;\"x\";TGenre")},
      {"priority entry of 6 fields", a, t, U(u"Genre;T;\"x\";TGenre;AGenre;X")},
      {"priority entry of 3 fields", a, t, U(u"Genre;T;\"x\"")},
      {"invalid priority name", a, t, U(u"Gen re;T;\"x\";TGenre;AGenre")},
      {"priority name used by the track table", a, t, U(u"Title;T;\"x\";TGenre;AGenre")},
      {"priority name used twice", a, t, p + U(u",GENRE;T;\"x\";TGenre;AGenre")},
      {"bad priority type", a, t, U(u"Genre;S;\"x\";TGenre;AGenre")},
      {"track macro not in the track table", a, t, U(u"Genre;T;\"x\";AGenre;AGenre")},
      {"album macro not in the album table", a, t, U(u"Genre;T;\"x\";TGenre;TGenre")},
      {"unknown album macro", a, t, U(u"Genre;T;\"x\";TGenre;AStyle")},
      {"quoted separator joining two entries", U(u"ATitle;T;\"x,AGenre;T;\";R;GENRE"), t, p},
  };
  for (const TableCase &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(ValidateSystemMacroTables(c.album, c.track, c.prio));
  }
}

TEST(ValidateSystemMacroTables, TypesOfPriorityMacrosAreNotCompared) {
  EXPECT_TRUE(ValidateSystemMacroTables(GoodAlbum, GoodTrack, U(u"Genre;N;\"x\";TGenre;AGenre")));
}

TEST(BuildKeywordTables, DerivedFromTheCatalogue) {
  const auto describe = [](const TKeywordTable &table) {
    QStringList out;
    for (const TKeywordEntry &e : table.Entries)
      out << e.Keyword + QStringLiteral("->") + e.MacroName + (e.Type == mtNumber ? "#" : "");
    return out.join(u' ');
  };
  const TKeywordTables album = BuildKeywordTables(mlAlbum);
  EXPECT_EQ(describe(album.Standard),
            U(u"TITLE->ATitle PERFORMER->APerformer SONGWRITER->ASongWriter"));
  EXPECT_EQ(describe(album.Rem),
            U(u"GENRE->AGenre PUBLISHER->APublisher DATE->ADate YEAR->AYear YEARREL->AYearRel "
              u"COMPOSER->AComposer ORCHESTRA->AOrchestra CONDUCTOR->AConductor "
              u"LYRICIST->ALyricist COMMENT->AComment DISCID->DiscID DISCNUMBER->DiscNumber "
              u"TOTALDISCS->TotalDiscs#"));
  const TKeywordTables track = BuildKeywordTables(mlTrack);
  EXPECT_EQ(describe(track.Standard),
            U(u"TITLE->Title PERFORMER->TPerformer SONGWRITER->TSongWriter ISRC->ISRC"));
  EXPECT_EQ(describe(track.Rem),
            U(u"GENRE->TGenre PUBLISHER->TPublisher DATE->TDate YEAR->TYear YEARREL->TYearRel "
              u"COMPOSER->TComposer ORCHESTRA->TOrchestra CONDUCTOR->TConductor "
              u"LYRICIST->TLyricist COMMENT->TComment"));

  // Keywords are looked up without regard to case; macros no command sets are not keywords.
  const TKeywordEntry *genre = track.Rem.Find(U(u"genre"));
  ASSERT_NE(genre, nullptr);
  EXPECT_EQ(genre->MacroName, U(u"TGenre"));
  EXPECT_EQ(track.Standard.Find(U(u"GENRE")), nullptr);
  EXPECT_EQ(track.Standard.Find(U(u"TRACKNO")), nullptr);
  EXPECT_EQ(album.Rem.Find(U(u"TRACKS")), nullptr);
}

TEST(ListSystemMacros, EveryEntryInTableOrder) {
  const auto names = [](TMacroLevel level) {
    QStringList out;
    for (const TSystemMacro &m : ListSystemMacros(level))
      out << m.Name + (m.Type == mtNumber ? "#" : m.Type == mtText ? "" : "?");
    return out.join(u' ');
  };
  EXPECT_EQ(names(mlAlbum),
            U(u"ATitle APerformer ASongWriter AGenre APublisher ADate AYear AYearRel AComposer "
              u"AOrchestra AConductor ALyricist AComment DiscID DiscNumber TotalDiscs# Tracks#"));
  EXPECT_EQ(names(mlTrack),
            U(u"Title TPerformer TSongWriter TGenre TPublisher TDate TYear TYearRel TComposer "
              u"TOrchestra TConductor TLyricist TComment ISRC TrackNo#"));
  EXPECT_TRUE(ListSystemMacros(mlPriority).isEmpty());
}

TEST(ListPriorityMacros, TrackMacroFirstThenAlbumMacro) {
  QStringList out;
  for (const auto &[name, info] : ListPriorityMacros()) {
    EXPECT_EQ(info.Type, mtText) << name.toStdString();
    out << name + u'=' + info.TrackMacro + u'/' + info.AlbumMacro;
  }
  EXPECT_EQ(out.join(u' '),
            U(u"Performer=TPerformer/APerformer SongWriter=TSongWriter/ASongWriter "
              u"Genre=TGenre/AGenre Publisher=TPublisher/APublisher Date=TDate/ADate "
              u"Year=TYear/AYear YearRel=TYearRel/AYearRel Composer=TComposer/AComposer "
              u"Orchestra=TOrchestra/AOrchestra Conductor=TConductor/AConductor "
              u"Lyricist=TLyricist/ALyricist Comment=TComment/AComment"));
}

TEST(ListMacroDefinitions, AlbumThenTrackThenPriorityWithDescriptions) {
  const TMacroDefList defs = ListMacroDefinitions();
  ASSERT_EQ(defs.size(), 17 + 15 + 12);
  const struct {
    int index;
    const char16_t *name;
    TMacroType type;
    TMacroLevel scope;
    const char16_t *description;
  } expected[] = {
      {0, u"ATitle", mtText, mlAlbum, u"アルバムタイトル"},
      {2, u"ASongWriter", mtText, mlAlbum, u"作詞／作曲者"},
      {13, u"DiscID", mtText, mlAlbum, u"ディスクＩＤ"},
      {16, u"Tracks", mtNumber, mlAlbum, u"トラック数"},
      {17, u"Title", mtText, mlTrack, u"曲名"},
      {30, u"ISRC", mtText, mlTrack, u"国際標準レコーディングコード"},
      {31, u"TrackNo", mtNumber, mlTrack, u"トラック番号"},
      {32, u"Performer", mtText, mlPriority, u"奏者"},
      {43, u"Comment", mtText, mlPriority, u"コメント"},
  };
  for (const auto &e : expected) {
    SCOPED_TRACE(e.index);
    EXPECT_EQ(defs[e.index].first, U(e.name));
    EXPECT_EQ(defs[e.index].second.Type, e.type);
    EXPECT_EQ(defs[e.index].second.Scope, e.scope);
    EXPECT_EQ(defs[e.index].second.Description, U(e.description));
  }
  // Every description, as the dialogs show them.
  QStringList descriptions[3];
  for (const auto &[name, info] : defs)
    descriptions[info.Scope] << info.Description;
  EXPECT_EQ(descriptions[mlAlbum].join(u' '),
            U(u"アルバムタイトル 奏者 作詞／作曲者 ジャンル 発売元 年 レコーディング年 リリース年 "
              u"作曲者 オーケストラ 指揮者 作詞者 コメント ディスクＩＤ ディスク番号 ディスク枚数 "
              u"トラック数"));
  EXPECT_EQ(descriptions[mlTrack].join(u' '),
            U(u"曲名 奏者 作詞／作曲者 ジャンル 発売元 年 レコーディング年 リリース年 作曲者 "
              u"オーケストラ 指揮者 作詞者 コメント 国際標準レコーディングコード トラック番号"));
  EXPECT_EQ(descriptions[mlPriority].join(u' '),
            U(u"奏者 作詞／作曲者 ジャンル 発売元 年 レコーディング年 リリース年 作曲者 "
              u"オーケストラ 指揮者 作詞者 コメント"));
}

} // namespace
