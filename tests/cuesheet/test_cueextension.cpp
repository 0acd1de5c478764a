// The extension lines inside REM commands: options, ID3 tag definitions and user macros.
#include "cuefixture.h"

#include "macros/expand.h"
#include "messages/format.h"
#include "messages/str.h"

namespace {

struct ExtCase {
  const char *name;
  QString album; // extension lines before the first TRACK line
  QString track; // extension lines inside track 1
  QStringList errors;
  std::vector<std::pair<QString, QString>> defs; // (name, value) of kinds 2..4, in order
};

QString err(const QString &message, int line, const char *definition) {
  return str::Format(message, {line, QString::fromUtf8(definition)});
}

} // namespace

class CueExtension : public CueFixture {
protected:
  void SetUp() override {
    CueFixture::SetUp();
    WriteAudio(QStringLiteral("disc.wav"), 60 * 44100);
    settings->UseCueMacro = settings->UseCueID3Tag = settings->UseCueOptions = true;
  }
  // Album lines come first (line 1 on), then FILE, TRACK 01, TITLE, INDEX, then track lines.
  QString Run(const ExtCase &c) {
    QString text = c.album;
    text += QStringLiteral("FILE \"disc.wav\" WAVE\nTRACK 01 AUDIO\nTITLE \"One\"\n");
    text += QStringLiteral("INDEX 01 00:00:00\n") + c.track;
    return Load(WriteCue(text));
  }
  std::vector<std::pair<QString, QString>> Definitions() const {
    std::vector<std::pair<QString, QString>> out;
    for (const TReport &r : reports)
      if (r.Kind >= cmkCueMacroDef)
        out.emplace_back(r.Name, r.Value);
    return out;
  }
};

TEST_F(CueExtension, Table) {
  const QString undefTag = str::_txt_ID3TAG_Undef;
  const QString undefMacro = str::_txt_Macro_Undef;
  const std::vector<ExtCase> cases = {
      {"lower-case keyword", "REM quarrow:macro Disc = 'A'\n", {}, {}, {{"Disc", "\"A\""}}},
      {"= inside quotes", "REM QUARROW:MACRO Disc='A=B'\n", {}, {}, {{"Disc", "\"A=B\""}}},
      {"number", "REM QUARROW:MACRO Disc=2\n", {}, {}, {{"Disc", "2"}}},
      {"hex number", "REM QUARROW:MACRO Disc=$1F\n", {}, {}, {{"Disc", "31"}}},
      {"bad number",
       "REM QUARROW:MACRO Disc=two\n",
       {},
       {err(str::_err_ds_InvalidNumValue, 1, "Disc=two")},
       {}},
      {"unclosed quote",
       "REM QUARROW:MACRO Disc='two\n",
       {},
       {err(str::_err_ds_InvalidMacroValue, 1, "Disc='two")},
       {}},
      {"name with digit first",
       "REM QUARROW:MACRO 2nd='x'\n",
       {},
       {err(str::_err_ds_InvalidMacroName, 1, "2nd='x'")},
       {}},
      {"name with underscore",
       "REM QUARROW:MACRO My_Tag='x'\n",
       {},
       {err(str::_err_ds_InvalidMacroName, 1, "My_Tag='x'")},
       {}},
      {"undefine Title twice",
       {},
       "REM QUARROW:MACRO Title\nREM QUARROW:MACRO Title\n",
       {err(str::_err_ds_DuplicateMacroName, 6, "Title")},
       {{"Title", undefMacro}}},
      {"second user definition",
       "REM QUARROW:MACRO X='1'\nREM QUARROW:MACRO X='2'\n",
       {},
       {err(str::_err_ds_DuplicateMacroName, 2, "X='2'")},
       {{"X", "\"1\""}}},
      {"text for a number macro",
       {},
       "REM QUARROW:MACRO TrackNo='7'\n",
       {err(str::_err_ds_DuplicateMacroName, 5, "TrackNo='7'")},
       {}},
      {"Compression cl3", "REM QUARROW:OPTION Compression=cl3\n", {}, {}, {{"Compression", "cl3"}}},
      {"Compression with blank",
       "REM QUARROW:OPTION Compression= CL3\n",
       {},
       {err(str::_err_ds_InvalidOptionValue, 1, "Compression= CL3")},
       {}},
      {"Compression CL9",
       {},
       "REM QUARROW:OPTION Compression=CL9\n",
       {err(str::_err_ds_InvalidOptionValue, 5, "Compression=CL9")},
       {}},
      {"OutputDir in a track",
       {},
       "REM QUARROW:OPTION OutputDir=x\n",
       {err(str::_err_ds_AlubumLevelOnlyOption, 5, "OutputDir=x")},
       {}},
      {"OutputDir at album level",
       "REM QUARROW:OPTION OutputDir=x\n",
       {},
       {},
       {{"OutputDir", "x"}}},
      {"unknown option", "REM QUARROW:OPTION Foo=1\n", {}, {}, {}},
      {"no option value",
       "REM QUARROW:OPTION Foo=\n",
       {},
       {err(str::_err_ds_NoOptionValue, 1, "Foo=")},
       {}},
      {"no option name",
       "REM QUARROW:OPTION =1\n",
       {},
       {err(str::_err_ds_NoOptionName, 1, "=1")},
       {}},
      {"TXXX with description",
       {},
       "REM ID3TAG TXXX.MOOD = 'calm'\n",
       {},
       {{"TXXX.MOOD", "\"calm\""}}},
      {"Latin-1 tag", "REM ID3TAG @TPOS = '1/2'\n", {}, {}, {{"@TPOS", "\"1/2\""}}},
      {"unquoted tag value",
       "REM QUARROW:ID3TAG TALB = calm\n",
       {},
       {err(str::_err_ds_InvalidID3TagValue, 1, "TALB = calm")},
       {}},
      {"three-letter tag",
       "REM QUARROW:ID3TAG TAL = 'x'\n",
       {},
       {err(str::_err_ds_InvalidID3TAGName, 1, "TAL = 'x'")},
       {}},
      {"undefine twice",
       "REM QUARROW:ID3TAG TCOM\nREM QUARROW:ID3TAG TCOM\n",
       {},
       {err(str::_err_ds_FailToUndefID3Tag, 2, "TCOM")},
       {{"TCOM", undefTag}}},
      {"tag defined twice",
       "REM ID3TAG TALB='a'\nREM ID3TAG talb='b'\n",
       {},
       {err(str::_err_ds_DuplicateID3Tag, 2, "talb='b'")},
       {{"TALB", "\"a\""}}},
      {"bare keyword", "REM QUARROW:MACRO\n", {}, {}, {}},
  };
  for (const ExtCase &c : cases) {
    EXPECT_EQ(Run(c), QString()) << c.name;
    EXPECT_EQ(Errors(), c.errors) << c.name;
    EXPECT_EQ(Definitions(), c.defs) << c.name;
  }
}

TEST_F(CueExtension, SwitchedOffLinesAreIgnored) {
  settings->UseCueMacro = settings->UseCueID3Tag = settings->UseCueOptions = false;
  ExtCase c{"off",
            "REM QUARROW:MACRO X = '1'\nREM QUARROW:OPTION Compression=CL9\nREM ID3TAG TAL\n",
            {},
            {},
            {}};
  EXPECT_EQ(Run(c), QString());
  EXPECT_TRUE(Errors().isEmpty());
  EXPECT_TRUE(Definitions().empty());
  EXPECT_EQ(sheet->AlbumMacros.Find(QStringLiteral("X")), nullptr);
}

TEST_F(CueExtension, DefinitionsLandInTheModel) {
  ExtCase c{"model",
            "REM QUARROW:MACRO ATitle='Mine'\nTITLE \"Theirs\"\n"
            "REM QUARROW:OPTION Compression=High\nREM ID3TAG @TPOS='1/2'\n",
            "REM QUARROW:MACRO Title\nREM QUARROW:OPTION compression=cl2\nREM ID3TAG TCOM\n",
            {},
            {}};
  ASSERT_EQ(Run(c), QString());
  EXPECT_EQ(sheet->AlbumOptions, QStringList({"Compression=High"}));
  EXPECT_EQ(sheet->Items(0).Options, QStringList({"compression=cl2"}));
  // A user definition beats the cue value that follows it; the stored value stays the cue's.
  QString text;
  ASSERT_TRUE(ExpandTemplate(QStringLiteral("%ATitle%"), sheet->MacroScope(), false, text));
  EXPECT_EQ(text, "Mine");
  EXPECT_EQ(sheet->GetAlbumValue("TITLE"), "Theirs");
  // The undefined Title can no longer be expanded.
  EXPECT_FALSE(
      ExpandTemplate(QStringLiteral("%Title%"), sheet->MacroScope(&sheet->Items(0)), true, text));
  const TID3TagValue *tpos = sheet->AlbumID3Tags.Find(QStringLiteral("TPOS"));
  ASSERT_NE(tpos, nullptr);
  EXPECT_TRUE(tpos->IsLatin1());
  EXPECT_EQ(tpos->Text, "1/2");
  const TID3TagValue *tcom = sheet->Items(0).ID3Tags.Find(QStringLiteral("TCOM"));
  ASSERT_NE(tcom, nullptr);
  EXPECT_TRUE(tcom->IsDisabled());
}
