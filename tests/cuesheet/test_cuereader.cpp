// The cue reader: the worked example, the dialect's edge cases, encodings and real sheets.
#include "cuefixture.h"

#include "cuesheet/splitcueline.h"
#include "macros/resolve.h"
#include "messages/format.h"
#include "messages/str.h"
#include "platform/textfile.h"
#include "testwav.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

constexpr std::uint32_t kMinute = 60 * 44100;

QString trackError(int n) {
  return str::Format(str::_err_d_CueFileInvalidTrackInfo, {n});
}

QString lineError(const QString &message, int line, const QString &text) {
  return str::Format(message, {line, text});
}

QString macroText(const TMacroList &list, const char *name) {
  const TMacroValue *v = list.Find(QLatin1String(name));
  return v && v->Is(TMacroValue::HasValue) ? v->Text : QStringLiteral("<none>");
}

int macroNumber(const TMacroList &list, const char *name) {
  const TMacroValue *v = list.Find(QLatin1String(name));
  return v && v->Is(TMacroValue::HasValue) ? v->Number : -999;
}

} // namespace

TEST(SplitCueLine, Tokens) {
  struct Case {
    QString line;
    QStringList tokens;
  } cases[] = {
      {QStringLiteral("TITLE \"A, B\""), {"TITLE", "A, B"}},
      {QStringLiteral("TITLE A, B"), {"TITLE", "A", "B"}},
      {QStringLiteral("TITLE \"say \"\"hi\"\"\""), {"TITLE", "say \"hi\""}},
      {QStringLiteral("TITLE \"\""), {"TITLE", ""}},
      {QStringLiteral("TITLE \"open end"), {"TITLE", "open end"}},
      {QStringLiteral("TITLE a\"b\"c"), {"TITLE", "a\"b\"c"}},
      {QStringLiteral("A,"), {"A", ""}},
      {QStringLiteral("A,,B"), {"A", "", "B"}},
      {QStringLiteral("INDEX\t01  00:00:00"), {"INDEX", "01", "00:00:00"}},
      {QStringLiteral("INDEX 01 00:0") + QChar(0x1A) + QStringLiteral("0"),
       {"INDEX", "01", "00:0", "0"}},
      {QStringLiteral("A") + QChar(0) + QStringLiteral("B"), {"A", "B"}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SplitCueLine(c.line), c.tokens) << c.line.toStdString();
  EXPECT_EQ(SplitCueLine(QStringLiteral("04:00:00"), QLatin1Char(':')),
            QStringList({"04", "00", "00"}));
}

TEST_F(CueFixture, WorkedExample) {
  const std::uint32_t S = 4 * kMinute + 12345;
  WriteAudio(QStringLiteral("disc.wav"), S);
  const QString cue = WriteCue(QStringLiteral("REM GENRE Pop\r\n"
                                              "REM DATE 2001\r\n"
                                              "PERFORMER \"Artist\"\r\n"
                                              "TITLE \"Album\"\r\n"
                                              "FILE \"disc.wav\" WAVE\r\n"
                                              "TRACK 01 AUDIO\r\n"
                                              "TITLE \"One\"\r\n"
                                              "INDEX 01 00:00:00\r\n"
                                              "TRACK 02 AUDIO\r\n"
                                              "TITLE \"Two\"\r\n"
                                              "INDEX 00 03:58:70\r\n"
                                              "INDEX 01 04:00:00\r\n"));
  ASSERT_EQ(Load(cue, 1u << cmkCueSentence), QString());
  EXPECT_EQ(sheet->GetAlbumValue("genre"), "Pop");
  EXPECT_EQ(sheet->GetAlbumValue("DATE"), "2001");
  EXPECT_EQ(sheet->GetAlbumValue("PERFORMER"), "Artist");
  EXPECT_EQ(sheet->GetAlbumValue("TITLE"), "Album");
  EXPECT_EQ(sheet->AlbumValues.Count(), 4);
  EXPECT_EQ(macroText(sheet->AlbumMacros, "AGenre"), "Pop");
  EXPECT_EQ(macroText(sheet->AlbumMacros, "ADate"), "2001");
  EXPECT_EQ(macroText(sheet->AlbumMacros, "APerformer"), "Artist");
  EXPECT_EQ(macroText(sheet->AlbumMacros, "ATitle"), "Album");
  EXPECT_EQ(macroNumber(sheet->AlbumMacros, "Tracks"), 2);
  EXPECT_EQ(macroText(sheet->AlbumMacros, "AYear"), "<none>");
  EXPECT_EQ(QFileInfo(sheet->AudioFileName).absoluteFilePath(), Path("disc.wav"));
  EXPECT_EQ(sheet->AudioFileTitle(), "disc.wav");
  ASSERT_EQ(sheet->Count(), 2);
  const TCueTrack &t1 = sheet->Items(0);
  const TCueTrack &t2 = sheet->Items(1);
  EXPECT_EQ(t1.GetValue("TITLE"), "One");
  EXPECT_EQ(macroText(t1.Macros, "Title"), "One");
  EXPECT_EQ(macroNumber(t1.Macros, "TrackNo"), 1);
  EXPECT_EQ(t1.TrackNo, 1);
  EXPECT_EQ(t1.Index00, 0u);
  EXPECT_EQ(t1.Index01, 0u);
  EXPECT_EQ(t1.LastSample, 4 * kMinute - 1);
  EXPECT_EQ(t2.GetValue("TITLE"), "Two");
  EXPECT_EQ(macroNumber(t2.Macros, "TrackNo"), 2);
  EXPECT_EQ(t2.Index00, (3u * 60 + 58) * 44100 + 70 * 588);
  EXPECT_EQ(t2.Index01, 4 * kMinute);
  EXPECT_EQ(t2.LastSample, S - 1);
  EXPECT_EQ(t2.Length(), S - 4 * kMinute);
  // Priority macros fall back to the album; the track's own TITLE is its Title.
  TMacroType type = mtNone;
  const TMacroValue *performer =
      ResolveMacro(QStringLiteral("Performer"), type, sheet->MacroScope(&t1));
  ASSERT_NE(performer, nullptr);
  EXPECT_EQ(performer->Text, "Artist");

  const std::vector<std::pair<QString, QString>> expected = {
      {"REM GENRE", "Pop"}, {"REM DATE", "2001"}, {"PERFORMER", "Artist"}, {"TITLE", "Album"},
      {"FILE", "disc.wav"}, {"TITLE", "One"},     {"TITLE", "Two"}};
  ASSERT_EQ(reports.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(reports[i].Kind, cmkCueSentence);
    EXPECT_EQ(reports[i].Name, expected[i].first) << i;
    EXPECT_EQ(reports[i].Value, expected[i].second) << i;
    EXPECT_EQ(reports[i].Track, i < 5 ? 0 : static_cast<int>(i) - 4);
  }
}

// Cases of the dialect: a sheet text after a common head (FILE line of an existing image), the
// error LoadFromFile raises (empty when it reads), and the kind-0 reports in order.
TEST_F(CueFixture, DialectCases) {
  const QString head = QStringLiteral("FILE \"disc.wav\" WAVE\n");
  const QString t1 = QStringLiteral("TRACK 01 AUDIO\nTITLE \"One\"\nINDEX 01 00:00:00\n");
  WriteAudio(QStringLiteral("disc.wav"), 10 * kMinute);
  struct Case {
    const char *name;
    QString body;
    QString error;
    QStringList reports;
  };
  const QString header = str::_err_CueFileInvalidHeaderInfo;
  const QString trackNo = str::_err_CueFileInvalidTrackNo;
  const std::vector<Case> cases = {
      {"blank last line", head + t1 + "\n\n", {}, {}},
      {"REM of two tokens last", head + t1 + "REM x\n", {}, {}},
      {"bare TRACK line last",
       head + t1 +
           "TRACK 02 AUDIO\nTITLE \"2\"\nINDEX 01 01:00:00\nTRACK 03 AUDIO\nTITLE \"3\"\n"
           "INDEX 01 02:00:00\nTRACK 04 AUDIO\nTITLE \"4\"\nINDEX 01 03:00:00\nTRACK 05 AUDIO",
       trackError(4),
       {}},
      {"MODE1 track", head + "TRACK 01 MODE1/2352\nTITLE \"x\"\n", trackNo, {}},
      {"tracks 1 and 3",
       head + t1 + "TRACK 03 AUDIO\nTITLE \"3\"\nINDEX 01 01:00:00\n",
       trackNo,
       {}},
      {"frames up to 149", head + "TRACK 01 AUDIO\nTITLE \"x\"\nINDEX 01 00:02:149\n", {}, {}},
      {"seconds 60",
       head + "TRACK 01 AUDIO\nTITLE \"x\"\nINDEX 01 00:60:00\n",
       trackError(1),
       {lineError(str::_err_ds_InvalidIndexAddress, 4, "INDEX 01 00:60:00")}},
      {"frames 150",
       head + "TRACK 01 AUDIO\nTITLE \"x\"\nINDEX 01 00:00:150\n",
       trackError(1),
       {lineError(str::_err_ds_InvalidIndexAddress, 4, "INDEX 01 00:00:150")}},
      {"position past 32 bits",
       head + "TRACK 01 AUDIO\nTITLE \"x\"\nINDEX 01 99999:00:00\n",
       trackError(1),
       {lineError(str::_err_ds_InvalidIndexAddress, 4, "INDEX 01 99999:00:00")}},
      {"two parts",
       head + "TRACK 01 AUDIO\nTITLE \"x\"\nINDEX 01 00:00\n",
       trackError(1),
       {lineError(str::_err_ds_SyntaxError, 4, "INDEX 01 00:00")}},
      {"INDEX 02 ignored", head + t1 + "INDEX 02 00:00:10\n", {}, {}},
      {"two INDEX 01",
       head + t1 + "INDEX 01 00:00:10\n",
       trackError(1),
       {lineError(str::_err_ds_DuplicateDef, 5, "INDEX 01 00:00:10")}},
      {"MP3 file type", QStringLiteral("FILE x.mp3 MP3\n") + t1, header, {}},
      {"no FILE line", t1, header, {str::_err_NoWaveFileSpecification}},
      {"missing audio",
       QStringLiteral("FILE \"gone.wav\" WAVE\n") + t1,
       header,
       {str::Format(str::_err_s_NoCUEFile, {QStringLiteral("gone.wav")})}},
      {"second FILE",
       head + head + t1,
       header,
       {lineError(str::_err_ds_DuplicateDef, 2, "FILE \"disc.wav\" WAVE")}},
      {"FILE with four tokens",
       QStringLiteral("FILE \"disc.wav\" WAVE x\n") + t1,
       header,
       {lineError(str::_err_ds_SyntaxError, 1, "FILE \"disc.wav\" WAVE x")}},
      {"only an album", head, header, {}},
      {"unquoted comment",
       QStringLiteral("REM COMMENT ripped with care\n") + head + t1,
       {},
       {lineError(str::_err_ds_SyntaxError, 1, "REM COMMENT ripped with care")}},
      {"TOTALDISCS two",
       QStringLiteral("REM TOTALDISCS two\n") + head + t1,
       {},
       {lineError(str::_err_ds_InvalidNumValue, 1, "REM TOTALDISCS two")}},
      {"second TITLE",
       head + t1 + "TITLE \"Again\"\n",
       {},
       {lineError(str::_err_ds_DuplicateDef, 5, "TITLE \"Again\"")}},
      {"album TITLE with three tokens",
       QStringLiteral("TITLE A B\n") + head + t1,
       {},
       {lineError(str::_err_ds_SyntaxError, 1, "TITLE A B")}},
      {"track without TITLE", head + "TRACK 01 AUDIO\nINDEX 01 00:00:00\n", trackError(1), {}},
      {"INDEX 00 after INDEX 01",
       head + "TRACK 01 AUDIO\nTITLE \"x\"\nINDEX 00 00:00:10\n",
       trackError(1),
       {}},
      {"INDEX 00 on the previous INDEX 01",
       head + "TRACK 01 AUDIO\nTITLE \"1\"\nINDEX 01 00:01:00\n"
              "TRACK 02 AUDIO\nTITLE \"2\"\nINDEX 00 00:01:00\nINDEX 01 00:02:00\n",
       trackError(2),
       {}},
      {"audio ends before the last track",
       head + t1 + "TRACK 02 AUDIO\nTITLE \"2\"\nINDEX 01 11:00:00\n",
       trackError(2),
       {}},
      {"lower case",
       QStringLiteral("rem genre x\nfile \"disc.wav\" wave\ntrack 01 audio\n"
                      "title \"t\"\nindex 01 00:00:00\n"),
       {},
       {}},
  };
  for (const Case &c : cases) {
    const QString cue = WriteCue(c.body);
    EXPECT_EQ(Load(cue, 0), c.error) << c.name;
    EXPECT_EQ(Errors(), c.reports) << c.name;
  }
}

TEST_F(CueFixture, StoredValuesAndNumbers) {
  WriteAudio(QStringLiteral("disc.wav"), kMinute);
  const QString cue = WriteCue(QStringLiteral(
      "REM COMMENT \"ripped with care\"\nREM TOTALDISCS 2\nREM DISCNUMBER 1\n"
      "TITLE \"Say \"\"hi\"\"\"\nFILE \"disc.wav\" WAVE\nTRACK 01 AUDIO\nTITLE \"x\"\n"
      "TITLE \"again\"\nISRC JPXX00000001\nINDEX 01 00:02:149\n"));
  ASSERT_EQ(Load(cue), QString());
  EXPECT_EQ(sheet->GetAlbumValue("COMMENT"), "ripped with care");
  EXPECT_EQ(macroNumber(sheet->AlbumMacros, "TotalDiscs"), 2);
  EXPECT_EQ(sheet->GetAlbumValue("TITLE"), "Say \"hi\"");
  EXPECT_EQ(macroText(sheet->AlbumMacros, "ATitle"), "Say \"hi\"");
  EXPECT_EQ(sheet->Items(0).GetValue("TITLE"), "x");
  EXPECT_EQ(macroText(sheet->Items(0).Macros, "ISRC"), "JPXX00000001");
  EXPECT_EQ(sheet->Items(0).Index01, 2u * 44100 + 149 * 588);
  EXPECT_FALSE(sheet->HasAlbumValue("YEAR"));
  EXPECT_EQ(sheet->GetAlbumValue("YEAR"), "");
}

TEST_F(CueFixture, FileNames) {
  // A name with a directory part is found relative to the cue sheet's directory, written with
  // either separator; an absolute name is used as it stands.
  WriteAudio(QStringLiteral("sub/disc.wav"), kMinute);
  const QString t1 = QStringLiteral("TRACK 01 AUDIO\nTITLE \"x\"\nINDEX 01 00:00:00\n");
  for (const QString &name : {QStringLiteral("sub\\disc.wav"), QStringLiteral("sub/disc.wav"),
                              Path(QStringLiteral("sub/disc.wav"))}) {
    const QString cue = WriteCue(QStringLiteral("FILE \"%1\" WAVE\n").arg(name) + t1);
    ASSERT_EQ(Load(cue), QString()) << name.toStdString();
    EXPECT_EQ(QFileInfo(sheet->AudioFileName).absoluteFilePath(), Path("sub/disc.wav"));
  }
}

TEST_F(CueFixture, OneSheetInThreeEncodings) {
  WriteAudio(QStringLiteral("disc.wav"), 2 * kMinute);
  const QString text = QStringLiteral(
      "PERFORMER \"宇多田ヒカル\"\r\nTITLE \"ファースト・ラヴ\"\r\nFILE \"disc.wav\" WAVE\r\n"
      "TRACK 01 AUDIO\r\nTITLE \"オートマチック\"\r\nINDEX 01 00:00:00\r\n"
      "TRACK 02 AUDIO\r\nTITLE \"甘いワナ ～Paint It, Black\"\r\nINDEX 01 01:00:00\r\n");
  struct Variant {
    const char *encoding;
    bool bom;
  } variants[] = {{"Shift_JIS", false}, {"UTF-16LE", true}, {"UTF-8", false}, {"UTF-8", true}};
  for (const Variant &v : variants) {
    const QString cue = Path(QStringLiteral("album.cue"));
    ASSERT_TRUE(testsupport::WriteFileBytes(cue, testsupport::EncodeText(text, v.encoding, v.bom)));
    ASSERT_EQ(Load(cue), QString()) << v.encoding;
    EXPECT_EQ(sheet->GetAlbumValue("PERFORMER"), QStringLiteral("宇多田ヒカル")) << v.encoding;
    EXPECT_EQ(sheet->GetAlbumValue("TITLE"), QStringLiteral("ファースト・ラヴ")) << v.encoding;
    ASSERT_EQ(sheet->Count(), 2);
    EXPECT_EQ(sheet->Items(0).GetValue("TITLE"), QStringLiteral("オートマチック"));
    EXPECT_EQ(sheet->Items(1).GetValue("TITLE"), QStringLiteral("甘いワナ ～Paint It, Black"));
  }
}

// Real sheets written by rippers and test suites: placed beside an image of the name their FILE
// line gives, they read (or fail with a message) as expected, never crash.
TEST_F(CueFixture, RealSheets) {
  struct Case {
    const char *file;
    int tracks;    // the track count of a sheet that reads
    QString error; // the error of one that does not ("*": any message)
  } cases[] = {
      {"cue-001-cp1251-crlf-rem.cue", 4, {}},
      {"cue-003-utf8-bom-cyrillic-crlf.cue", 4, {}},
      {"cue-004-ascii-track1-index00-pregap.cue", 11, {}},
      {"cue-011-broken-corrupted-keywords.cue", 0, "*"},
      {"cue-019-eac-single-file-catalog-isrc.cue", 21, {}},
      {"cue-021-broken-short-time-mp3-type.cue", 0, str::_err_CueFileInvalidHeaderInfo},
      {"cue-025-bad-index-number-out-of-range.cue", 0, trackError(1)},
      {"cue-028-sjis-catalog-isrc-pregaps-lf.cue", 14, {}},
      // Its image is FLAC, which no plug-in of this build reads.
      {"cue-029-utf16le-bom-crlf-japanese.cue", 0, str::_err_NoWaveFilePlugin},
      {"cue-037-broken-index-number-int-overflow.cue", 0, "*"},
      {"cue-040-fuzz-100-tracks-duplicate-numbers.cue", 0, "*"},
  };
  const QRegularExpression fileLine(QStringLiteral("^\\s*FILE\\s+\"?([^\"]+?)\"?\\s+\\S+\\s*$"),
                                    QRegularExpression::CaseInsensitiveOption);
  for (const Case &c : cases) {
    const QString source = QStringLiteral(QUARROW_TESTDATA_DIR "/cue/") + QLatin1String(c.file);
    QFile in(source);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << c.file;
    const QByteArray bytes = in.readAll();
    const QString cue = Path(QLatin1String(c.file));
    ASSERT_TRUE(testsupport::WriteFileBytes(cue, bytes));
    for (const QString &line : SplitTextLines(DecodeText(bytes))) {
      const auto m = fileLine.match(line);
      if (m.hasMatch()) {
        QString name = m.captured(1);
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        WriteAudio(name, 90 * kMinute);
      }
    }
    const QString error = Load(cue);
    if (c.error.isEmpty()) {
      EXPECT_EQ(error, QString()) << c.file;
      EXPECT_EQ(sheet->Count(), c.tracks) << c.file;
    } else if (c.error == QLatin1String("*")) {
      EXPECT_NE(error, QString()) << c.file;
    } else {
      EXPECT_EQ(error, c.error) << c.file;
    }
  }
}
