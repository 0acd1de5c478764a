// Templates and references: fields, trimming, quoting and escapes in prefixes and suffixes,
// number formats, undefined macros and the invalid forms.
#include "macros/expand.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

QString U(const char16_t *s) {
  return QString::fromUtf16(s);
}
const QString Fail = QStringLiteral("<fail>");

struct ExpandCase {
  const char16_t *tmpl;
  const char16_t *expected; // nullptr: the expansion fails
};

// Expands every case in one scope, checking that a failure leaves the result empty.
void Check(const ExpandCase *begin, const ExpandCase *end, const TMacroScope &scope,
           bool undefinedIsEmpty) {
  for (const ExpandCase *c = begin; c != end; ++c) {
    const QString tmpl = U(c->tmpl);
    SCOPED_TRACE(tmpl.toStdString());
    QString result = U(u"stale");
    const bool ok = ExpandTemplate(tmpl, scope, undefinedIsEmpty, result);
    EXPECT_EQ(ok ? result : Fail, c->expected ? U(c->expected) : Fail);
    if (!ok) {
      EXPECT_TRUE(result.isEmpty());
    }
  }
}

template <size_t N>
void Check(const ExpandCase (&cases)[N], const TMacroScope &scope, bool undefinedIsEmpty) {
  Check(cases, cases + N, scope, undefinedIsEmpty);
}

// An album "Album" by "Artist" (date 2001 unless withoutDate) with seven tracks; track 7 is
// titled "One".
class Expand : public ::testing::Test {
protected:
  void Fill(TTestAlbum &sheet, bool withDate) {
    sheet.Album.SetText(U(u"APerformer"), U(u"Artist"), true);
    sheet.Album.SetText(U(u"ATitle"), U(u"Album"), true);
    if (withDate)
      sheet.Album.SetText(U(u"ADate"), U(u"2001"), true);
    for (int i = 1; i <= 7; ++i)
      sheet.AddTrack().SetText(U(u"Title"), i == 7 ? U(u"One") : QStringLiteral("T%1").arg(i),
                               true);
    sheet.CloseTracks();
  }
  void SetUp() override {
    Fill(Sheet, true);
    Fill(NoDate, false);
  }

  TTestAlbum Sheet, NoDate;
};

TEST_F(Expand, DefaultDirectoryTemplate) {
  const QString dir = U(u"%APerformer%%ADate,\" - \"%%ATitle,\" - \"%");
  QString result;
  ASSERT_TRUE(ExpandTemplate(dir, Sheet.AlbumScope(), true, result));
  EXPECT_EQ(result, U(u"Artist - 2001 - Album"));
  ASSERT_TRUE(ExpandTemplate(dir, NoDate.AlbumScope(), true, result));
  EXPECT_EQ(result, U(u"Artist - Album"));
  EXPECT_FALSE(ExpandTemplate(dir, NoDate.AlbumScope(), false, result));
}

TEST_F(Expand, NumberFormats) {
  const ExpandCase cases[] = {
      {u"%TrackNo,,,02%", u"07"},
      {u"%TrackNo,,,2%", u" 7"},
      {u"%TrackNo%", u"7"},
      {u"%TrackNo,,,1%", u"7"},
      {u"%TrackNo,,,10%", u"         7"},
      {u"%TrackNo,,,010%", u"0000000007"},
      {u"%TrackNo,,, 03 %", u"007"},
      {u"%TrackNo,,,$A%", u"         7"},
      {u"%TrackNo,'(',')',02%", u"(07)"},
      {u"%TrackNo,,,0%", nullptr},
      {u"%TrackNo,,,00%", nullptr},
      {u"%TrackNo,,,11%", nullptr},
      {u"%TrackNo,,,-2%", nullptr},
      {u"%TrackNo,,,x%", nullptr},
      {u"%TrackNo,,,2.5%", nullptr},
      {u"%TrackNo,,,'2'%", nullptr},
      {u"%TrackNo,,,02% %Title%", u"07 One"},
  };
  Check(cases, Sheet.TrackScope(7), true);
}

TEST_F(Expand, NegativeAndLongNumbers) {
  TMacroList &track = Sheet.Track(7);
  ASSERT_TRUE(track.SetNumber(U(u"Neg"), -7, false));
  ASSERT_TRUE(track.SetNumber(U(u"Big"), 123456, false));
  ASSERT_TRUE(track.SetNumber(U(u"Min"), -2147483647 - 1, false));
  const ExpandCase cases[] = {
      {u"%Neg%", u"-7"},          {u"%Neg,,,04%", u"-007"},         {u"%Neg,,,4%", u"  -7"},
      {u"%Neg,,,02%", u"-7"},     {u"%Big,,,02%", u"123456"},       {u"%Big,,,3%", u"123456"},
      {u"%Min%", u"-2147483648"}, {u"%Min,,,010%", u"-2147483648"},
  };
  Check(cases, Sheet.TrackScope(7), true);
}

TEST_F(Expand, PercentSignsAndUnterminatedReferences) {
  const ExpandCase cases[] = {
      {u"", u""},           {u"plain text", u"plain text"}, {u"100%%", u"100%"},
      {u"%%%%", u"%%"},     {u"%%Title%%", u"%Title%"},     {u"100%", nullptr},
      {u"%Title", nullptr}, {u"%Title% and %", nullptr},    {u"% %", nullptr},
      {u"%\t%", nullptr},   {u"% Title %", u"One"},
  };
  Check(cases, Sheet.TrackScope(7), true);
}

TEST_F(Expand, NameLists) {
  const ExpandCase cases[] = {
      {u"%Title;ATitle%", u"One"},
      {u"%Foo;ATitle%", u"Album"},
      {u"%Foo;Bar;APerformer;ATitle%", u"Artist"},
      {u"%Title;%", u"One"},
      {u"%;Title%", nullptr},
      {u"%Title;;ATitle%", nullptr},
      {u"%Title;;%", nullptr},
      {u"%Title ;ATitle%", nullptr},
      {u"%Title_1%", nullptr},
      {u"%1Title%", nullptr},
      {u"%曲名%", nullptr},
      {u"%title%", u"One"},
  };
  Check(cases, Sheet.TrackScope(7), false);
}

TEST_F(Expand, PrefixesSuffixesAndFields) {
  const ExpandCase cases[] = {
      {u"%ADate,' - '%", u" - 2001"},
      {u"%Title , 'x'%", u"xOne"},
      {u"%Title,  \"<\"  ,  \">\"  %", u"<One>"},
      {u"%Title,,']'%", u"One]"},
      {u"%Title,'a,b'%", u"a,bOne"},
      {u"%Title,\"a,b\",'c,d'%", u"a,bOnec,d"},
      {u"%Title,'50\\x25 '%", u"50% One"},
      {u"%Title,'\\x41\\102\\t'%", u"AB\tOne"},
      {u"%Title,'it''s '%", u"it's One"},
      {u"%Title,\"say \"\"\"%", u"say \"One"},
      {u"%Title,'\\\\'%", u"\\One"},
      {u"%Title,'\\n','\\r'%", u"\nOne\r"},
      {u"%Title,x%", nullptr},
      {u"%Title,,x%", nullptr},
      {u"%Title,'50%'%", nullptr},
      {u"%Title,'\\x'%", nullptr},
      {u"%Title,'it's'%", nullptr},
      {u"%Title,'open%", nullptr},
      {u"%Title,'\\'%", nullptr},
      {u"%Title,'a','b','2'%", nullptr},
      {u"%Title,'a','b',2,%", nullptr},
      {u"%Title,,,,%", nullptr},
      {u"%Title,,,%", u"One"},
  };
  Check(cases, Sheet.TrackScope(7), false);
}

TEST_F(Expand, EmptyAndUndefinedValues) {
  // An empty album title still gets its prefix and suffix.
  TTestAlbum empty;
  empty.Album.SetText(U(u"ATitle"), U(u""), true);
  const ExpandCase emptyTitle[] = {{u"%ATitle,'[',']'%", u"[]"}};
  Check(emptyTitle, empty.AlbumScope(), false);
  // No date: nothing at all when undefined macros are empty, else a failure.
  const ExpandCase dateEmpty[] = {{u"%ADate,' - '%", u""}, {u"x%ADate,'[',']'%y", u"xy"}};
  Check(dateEmpty, NoDate.AlbumScope(), true);
  const ExpandCase dateFails[] = {{u"%ADate,' - '%", nullptr}};
  Check(dateFails, NoDate.AlbumScope(), false);
}

TEST_F(Expand, ValuesAreNotExpandedAgain) {
  ASSERT_TRUE(Sheet.Track(7).SetText(U(u"Raw"), U(u"%Title% 100%"), false));
  const ExpandCase cases[] = {{u"%Raw%", u"%Title% 100%"}};
  Check(cases, Sheet.TrackScope(7), false);
}

TEST_F(Expand, WithoutTablesOnlyTheSyntaxIsChecked) {
  const ExpandCase cases[] = {
      {u"%TrackNo,,,02% %Title%", u" "},
      {u"%APerformer%%ADate,\" - \"%%ATitle,\" - \"%", u""},
      {u"%Title_1%", nullptr},
      {u"%Title,x%", nullptr},
      {u"100%", nullptr},
  };
  Check(cases, TMacroScope{}, true);
}

TEST_F(Expand, ResultMayBeTheTemplateItself) {
  QString text = U(u"%TrackNo,,,02% %Title%");
  ASSERT_TRUE(ExpandTemplate(text, Sheet.TrackScope(7), false, text));
  EXPECT_EQ(text, U(u"07 One"));
  text = U(u"Genre");
  ASSERT_TRUE(ExpandReference(text, Sheet.TrackScope(7), true, text));
  EXPECT_EQ(text, U(u""));
}

TEST(ExpandReference, OneBodyWithoutPercentSigns) {
  TTestAlbum sheet;
  sheet.Album.SetText(U(u"AGenre"), U(u"Pop"), true);
  sheet.AddTrack().SetText(U(u"Title"), U(u"One"), true);
  QString result;
  EXPECT_TRUE(ExpandReference(U(u"Genre"), sheet.TrackScope(1), false, result));
  EXPECT_EQ(result, U(u"Pop"));
  EXPECT_TRUE(ExpandReference(U(u" TrackNo,'#',,03 "), sheet.TrackScope(1), false, result));
  EXPECT_EQ(result, U(u"#001"));
  EXPECT_FALSE(ExpandReference(U(u"Composer"), sheet.TrackScope(1), false, result));
  EXPECT_TRUE(result.isEmpty());
  EXPECT_TRUE(ExpandReference(U(u"Composer"), sheet.TrackScope(1), true, result));
  EXPECT_TRUE(result.isEmpty());
  EXPECT_FALSE(ExpandReference(U(u""), sheet.TrackScope(1), true, result));
}

TEST(ParseReference, FieldsAreTrimmedAndUnquoted) {
  TMacroReference ref;
  ASSERT_TRUE(ParseReference(U(u" Title;ATitle , '[' , \"]\" , 02 "), ref));
  EXPECT_EQ(ref.Names, QStringList({U(u"Title"), U(u"ATitle")}));
  EXPECT_EQ(ref.Prefix, U(u"["));
  EXPECT_EQ(ref.Suffix, U(u"]"));
  EXPECT_EQ(ref.Format, U(u"02"));

  ASSERT_TRUE(ParseReference(U(u"Title,,' x '"), ref));
  EXPECT_EQ(ref.Names, QStringList({U(u"Title")}));
  EXPECT_EQ(ref.Prefix, U(u""));
  EXPECT_EQ(ref.Suffix, U(u" x "));
  EXPECT_EQ(ref.Format, U(u""));

  // A failure leaves nothing of a previous parse behind.
  EXPECT_FALSE(ParseReference(U(u"Title,'x',,0"), ref));
  EXPECT_TRUE(ref.Names.isEmpty());
  EXPECT_TRUE(ref.Prefix.isEmpty());
  EXPECT_FALSE(ParseReference(U(u""), ref));
  EXPECT_FALSE(ParseReference(U(u","), ref));
}

} // namespace
