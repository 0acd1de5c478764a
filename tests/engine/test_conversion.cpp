// End to end: the batch thread converts generated images with the real lame through the real WAV
// plug-in, and every failure ends as it should with nothing half-written left behind. A fake
// encoder stands in only where the encoder must fail.
#include "crc/crctable.h"
#include "cuesheet/cuesheet.h"
#include "engine/mkmp3.h"
#include "messages/format.h"
#include "messages/str.h"
#include "plugins/wavestreammanager.h"
#include "settings/settings.h"
#include "testwav.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <zlib.h>

namespace {

struct TLine {
  TLogHandle File;
  int Track;
  int Category;
  QString Text;
  QStringList Details;
};

// Records every report; hooks let a test act at a given moment (a break).
class TRecorder : public TEngineNotify {
public:
  TLogHandle AddLog(TLogHandle file, int track, int category, const QString &text) override {
    if (track < 0 || track > 99) {
      return nullptr;
    }
    lines.push_back(std::make_unique<TLine>(TLine{file, track, category, text, {}}));
    return lines.back().get();
  }
  TLogHandle AddLogDetail(TLogHandle line, const QString &text) override {
    static_cast<TLine *>(line)->Details.append(text);
    return line;
  }
  void SetFileState(TLogHandle file, int state) override { states[file].append(state); }
  void SetTrackResult(TLogHandle file, int track, bool success) override {
    results[file][track] = success;
  }
  void SetTrackCaption(TLogHandle, int, const QString &) override {}
  void OpenProgress(const TCueSheet &) override { ++opened; }
  void ShowTrackProgress(int trackIndex, std::uint32_t) override { currentTrack = trackIndex; }
  void AdvanceProgress(int frames) override {
    advanced += frames;
    if (onAdvance) {
      onAdvance(currentTrack);
    }
  }
  void CloseProgress() override { ++closed; }
  void ShowEngineError(const QString &message) override { engineErrors.append(message); }

  // The category-0 lines of one node, without their times.
  QStringList Lines(TLogHandle file, int track) const {
    QStringList out;
    for (const auto &l : lines) {
      if (l->File == file && l->Track == track && l->Category == 0) {
        out.append(l->Text);
      }
    }
    return out;
  }
  const TLine *Find(TLogHandle file, int track, const QString &text) const {
    for (const auto &l : lines) {
      if (l->File == file && l->Track == track && l->Text == text) {
        return l.get();
      }
    }
    return nullptr;
  }

  void Clear() {
    lines.clear();
    states.clear();
    results.clear();
    opened = closed = 0;
    currentTrack = -1;
    advanced = 0;
    engineErrors.clear();
    onAdvance = nullptr;
  }

  std::vector<std::unique_ptr<TLine>> lines;
  QHash<TLogHandle, QList<int>> states;
  QHash<TLogHandle, QHash<int, bool>> results;
  int opened = 0, closed = 0, currentTrack = -1;
  std::int64_t advanced = 0;
  QStringList engineErrors;
  std::function<void(int)> onAdvance;
};

// A track of a generated cue sheet, positions in CD sectors (588 frames).
struct TTrackDef {
  QString Title;
  int Index00; // -1: none
  int Index01;
};

QString Msf(int sectors) {
  return str::Format(QStringLiteral("%02d:%02d:%02d"),
                     {sectors / 75 / 60, sectors / 75 % 60, sectors % 75});
}

QByteArray CueText(const QString &audio, const QList<TTrackDef> &tracks) {
  QString t = QStringLiteral("REM GENRE \"Ambient\"\nREM DATE 2026\nPERFORMER \"架空の楽団\"\n"
                             "TITLE \"見本のアルバム\"\nFILE \"") +
              audio + QStringLiteral("\" WAVE\n");
  int n = 0;
  for (const TTrackDef &d : tracks) {
    t += str::Format(QStringLiteral("  TRACK %02d AUDIO\n    TITLE \"%s\"\n"), {++n, d.Title});
    if (d.Index00 >= 0) {
      t += QStringLiteral("    INDEX 00 ") + Msf(d.Index00) + u'\n';
    }
    t += QStringLiteral("    INDEX 01 ") + Msf(d.Index01) + u'\n';
  }
  return t.toUtf8();
}

// The default album: 3 s, track 1 with 0.4 s before its INDEX 01, track 2 with a pregap.
const QList<TTrackDef> kTracks = {{QStringLiteral("夜明け"), 0, 30},
                                  {QStringLiteral("川の流れ"), 75, 95},
                                  {QStringLiteral("風の歌"), -1, 160}};
constexpr int kSectors = 225;
const std::uint32_t kFrames[] = {95 * 588, 65 * 588, 65 * 588};

QString FakeLame() {
  return QStringLiteral(QUARROW_BIN_DIR "/../tests/fakelame");
}

class ConversionTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_conversion";
    static char *argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
      new QCoreApplication(argc, argv);
    }
  }

  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    in_ = root_.filePath(QStringLiteral("in"));
    out_ = root_.filePath(QStringLiteral("out"));
    tmp_ = root_.filePath(QStringLiteral("tmp"));
    QDir().mkpath(in_);
    QDir().mkpath(out_);
    QDir().mkpath(tmp_);
    qputenv("TMPDIR", tmp_.toUtf8());
    TSettings &s = Settings();
    s.LamePath = QStringLiteral("/usr/bin/lame");
    s.UseTagInfo = true;
    s.TagList = TSettings::DefaultTagList();
    s.CheckCRC = true;
    s.CRCType = 0;
    s.LogCmdLine = true;
    s.LogID3Tag = true;
    s.OutputMP3DirSelection = 0;
    s.MP3DirNameReplace = false;
    s.AddSuffixOnExistDir = false;
    s.AddSuffixOnExistFile = false;
    s.LogCueSentence = s.LogCueMacroDef = s.LogCueID3TagDef = s.LogCueOptionDef = false;
    manager_.LoadPlugins(QStringLiteral(QUARROW_PLUGIN_DIR));
    manager_.BindAll();
    BuildCrcTable();
  }
  void TearDown() override { FreeCrcTable(); }

  // An album in in/<dir>/album.cue, by default the 3-second one.
  QString MakeAlbum(const QString &dir, const QString &audio = QStringLiteral("album.wav"),
                    bool writeAudio = true, const QList<TTrackDef> &tracks = kTracks,
                    int sectors = kSectors) {
    const QString d = in_ + u'/' + dir;
    QDir().mkpath(d);
    EXPECT_TRUE(
        testsupport::WriteFileBytes(d + QStringLiteral("/album.cue"), CueText(audio, tracks)));
    if (writeAudio) {
      EXPECT_TRUE(testsupport::WriteTestWav(d + u'/' + audio, sectors * 588));
    }
    return dir + QStringLiteral("/album.cue");
  }

  // Runs a batch over the relative paths; nodes are 1, 2, 3, ... in order.
  void Run(const QStringList &files) {
    auto *batch = new TMakeMP3(&manager_, &recorder_);
    batch->InputHomeDir = in_;
    batch->OutputHomeDir = out_;
    for (int i = 0; i < files.size(); ++i) {
      batch->Files.append({files[i], Node(i)});
    }
    batch_ = batch;
    QEventLoop loop;
    QObject::connect(batch, &QThread::finished, &loop, &QEventLoop::quit);
    batch->start();
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    batch_ = nullptr;
  }

  static TLogHandle Node(int i) {
    return reinterpret_cast<TLogHandle>(static_cast<quintptr>(i + 1));
  }

  QStringList OutputFiles() const {
    QStringList files;
    QDirIterator it(out_, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      files.append(QDir(out_).relativeFilePath(it.next()));
    }
    files.sort();
    return files;
  }
  QStringList TempLeftovers() const {
    return QDir(tmp_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }

  QTemporaryDir root_;
  QString in_, out_, tmp_;
  TWaveStreamManager manager_;
  TRecorder recorder_;
  TMakeMP3 *batch_ = nullptr;
};

QJsonObject Probe(const QString &path) {
  QProcess p;
  p.start(QStringLiteral("ffprobe"),
          {"-v", "error", "-show_entries", "format=duration:format_tags", "-of", "json", path});
  p.waitForFinished(30000);
  EXPECT_EQ(p.exitCode(), 0) << path.toStdString();
  return QJsonDocument::fromJson(p.readAllStandardOutput()).object().value("format").toObject();
}

// The frames ffmpeg decodes (encoder delay and padding removed through the LAME header).
qint64 DecodedFrames(const QString &path) {
  QProcess p;
  p.start(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-f", "s16le", "-ac", "2", "-"});
  p.waitForFinished(30000);
  return p.readAllStandardOutput().size() / 4;
}

QStringList WithoutTimes(QStringList lines) {
  for (QString &l : lines) {
    for (const QString *prefix : {&str::_log_s_Start, &str::_log_sd_End}) {
      const QString head = prefix->left(prefix->indexOf(u'%'));
      if (l.startsWith(head)) {
        l = head;
      }
    }
  }
  return lines;
}

} // namespace

TEST_F(ConversionTest, AlbumBecomesTaggedMP3sWithTheRightRangesAndLogOrder) {
  const QString cue = MakeAlbum(QStringLiteral("album"));
  Run({cue});
  const TLogHandle f = Node(0);
  EXPECT_EQ(recorder_.states[f], (QList<int>{7, 8}));
  ASSERT_EQ(OutputFiles(),
            (QStringList{"album/01 夜明け.mp3", "album/02 川の流れ.mp3", "album/03 風の歌.mp3"}));
  const QString titles[] = {"夜明け", "川の流れ", "風の歌"};
  for (int i = 0; i < 3; ++i) {
    const QString mp3 = out_ + u'/' + OutputFiles()[i];
    const QJsonObject format = Probe(mp3);
    const double expected = kFrames[i] / 44100.0;
    EXPECT_NEAR(format.value("duration").toString().toDouble(), expected, 0.06) << i;
    EXPECT_EQ(DecodedFrames(mp3), kFrames[i]) << i;
    const QJsonObject tags = format.value("tags").toObject();
    EXPECT_EQ(tags.value("title").toString(), titles[i]);
    EXPECT_EQ(tags.value("album").toString(), QStringLiteral("見本のアルバム"));
    EXPECT_EQ(tags.value("artist").toString(), QStringLiteral("架空の楽団"));
    EXPECT_EQ(tags.value("genre").toString(), QStringLiteral("Ambient"));
    EXPECT_EQ(tags.value("track").toString(), str::Format(QStringLiteral("%d/3"), {i + 1}));
    EXPECT_TRUE(recorder_.results[f].value(i + 1)) << i;
  }
  // The CRC of all tracks is the CRC of the whole image: the ranges lie back to back.
  QFile wav(in_ + QStringLiteral("/album/album.wav"));
  ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
  const QByteArray pcm = wav.readAll().mid(44);
  const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(pcm.constData()), pcm.size());
  const QString crcLine = str::Format(str::_log_sds_CueFileInfoCRC_Check,
                                      {str::_log_CueFileInfoCRC_CheckUK, static_cast<unsigned>(crc),
                                       str::_log_CueFileInfoCRCModeNORM});
  EXPECT_EQ(recorder_.advanced, kSectors * 588);

  const QStringList head = {
      str::Format(str::_log_s_OutputHomeDirectory, {out_}),
      str::Format(str::_log_s_OutputDirectory, {"album"}),
      str::Format(str::_log_s_CreateDirectory, {out_ + QStringLiteral("/album")}),
      str::Format(str::_log_s_WaveFileName, {"album.wav"}), crcLine};
  QStringList expected0 = {str::_log_s_Start.left(str::_log_s_Start.indexOf(u'%'))};
  expected0 << head << str::_log_sd_End.left(str::_log_sd_End.indexOf(u'%'));
  EXPECT_EQ(WithoutTimes(recorder_.Lines(f, 0)), expected0);
  for (int n = 1; n <= 3; ++n) {
    const QStringList lines = WithoutTimes(recorder_.Lines(f, n));
    // The encoder's standard error comes last, when it wrote any.
    ASSERT_TRUE(lines.size() == 5 || (lines.size() == 6 && lines[5] == str::_log_Lame_StdErr))
        << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[0], str::_log_s_Start.left(str::_log_s_Start.indexOf(u'%')));
    EXPECT_EQ(lines[1],
              str::Format(str::_log_s_MP3FileName, {QFileInfo(OutputFiles()[n - 1]).fileName()}));
    EXPECT_TRUE(
        lines[2].startsWith(str::_log_s_CmdOption.left(str::_log_s_CmdOption.indexOf(u'%'))));
    EXPECT_TRUE(
        lines[3].startsWith(str::_log_d_CreateID3Tag.left(str::_log_d_CreateID3Tag.indexOf(u'%'))));
    EXPECT_EQ(lines[4], str::_log_sd_End.left(str::_log_sd_End.indexOf(u'%')));
    const TLine *tagLine = recorder_.Find(f, n, lines[3]);
    ASSERT_NE(tagLine, nullptr);
    EXPECT_EQ(lines[3], str::Format(str::_log_d_CreateID3Tag, {tagLine->Details.size()}));
    EXPECT_TRUE(tagLine->Details.contains(
        str::Format(str::_log_css_TagInfo, {QChar(u' '), "TIT2", titles[n - 1]})));
  }
  EXPECT_EQ(recorder_.opened, 1);
  EXPECT_EQ(recorder_.closed, 1);
  EXPECT_TRUE(TempLeftovers().isEmpty()) << TempLeftovers().join(u' ').toStdString();
}

TEST_F(ConversionTest, WithoutTagsTheEncoderWritesTheFinalFile) {
  Settings().UseTagInfo = false;
  Settings().CheckCRC = false;
  Run({MakeAlbum(QStringLiteral("plain"))});
  ASSERT_EQ(OutputFiles().size(), 3);
  EXPECT_EQ(DecodedFrames(out_ + u'/' + OutputFiles()[0]), kFrames[0]);
  EXPECT_TRUE(Probe(out_ + u'/' + OutputFiles()[0]).value("tags").toObject().isEmpty());
  for (int n = 1; n <= 3; ++n) {
    EXPECT_FALSE(WithoutTimes(recorder_.Lines(Node(0), n)).join(u'|').contains(u"ID3"));
  }
}

// Cue sheets that cannot be read end in state 9 with their message and end line; the next cue
// sheet of the batch is converted normally.
TEST_F(ConversionTest, UnreadableCueSheetsFailAloneAndTheNextOneConverts) {
  const QString noPlugin = MakeAlbum(QStringLiteral("noplugin"), QStringLiteral("album.xyz"));
  const QString noAudio = MakeAlbum(QStringLiteral("noaudio"), QStringLiteral("album.wav"), false);
  QDir().mkpath(in_ + QStringLiteral("/bad"));
  testsupport::WriteFileBytes(in_ + QStringLiteral("/bad/album.cue"),
                              "FILE \"album.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 xx:yy\n");
  testsupport::WriteTestWav(in_ + QStringLiteral("/bad/album.wav"), 44100);
  const QString good = MakeAlbum(QStringLiteral("good"));
  Run({noPlugin, noAudio, QStringLiteral("bad/album.cue"), QStringLiteral("gone/album.cue"), good});
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(recorder_.states[Node(i)], (QList<int>{7, 9})) << i;
    const QStringList lines = WithoutTimes(recorder_.Lines(Node(i), 0));
    ASSERT_GE(lines.size(), 3) << i;
    EXPECT_EQ(lines.last(), str::_log_sd_End.left(str::_log_sd_End.indexOf(u'%')));
    EXPECT_TRUE(recorder_.results[Node(i)].isEmpty());
  }
  EXPECT_EQ(recorder_.states[Node(3)], (QList<int>{10}));
  EXPECT_EQ(recorder_.states[Node(4)], (QList<int>{7, 8}));
  EXPECT_EQ(OutputFiles(),
            (QStringList{"good/01 夜明け.mp3", "good/02 川の流れ.mp3", "good/03 風の歌.mp3"}));
}

// An encoder that exits 2 fails every track once, with its standard error in the log, and
// leaves no MP3 file, with tags and without (where it wrote straight to the final name).
TEST_F(ConversionTest, EncoderExitingTwoLeavesNoFile) {
  for (bool tagging : {true, false}) {
    SCOPED_TRACE(tagging);
    Settings().LamePath = FakeLame();
    Settings().UseTagInfo = tagging;
    const QString dir = tagging ? QStringLiteral("tagged") : QStringLiteral("untagged");
    recorder_.Clear();
    Run({MakeAlbum(dir)});
    EXPECT_EQ(recorder_.states[Node(0)], (QList<int>{7, 8}));
    for (int n = 1; n <= 3; ++n) {
      EXPECT_EQ(recorder_.results[Node(0)].value(n, true), false) << n;
      EXPECT_EQ(recorder_.Lines(Node(0), n).count(str::_err_NoCreateMP3), 1) << n;
      const TLine *err = recorder_.Find(Node(0), n, str::_log_Lame_StdErr);
      ASSERT_NE(err, nullptr);
      EXPECT_EQ(err->Details, (QStringList{"E1", "E2", "E3"}));
    }
    EXPECT_TRUE(QDir(out_ + u'/' + dir).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(TempLeftovers().isEmpty());
  }
}

TEST_F(ConversionTest, MissingEncoderSkipsEveryTrackAndMakesNothing) {
  Settings().LamePath = root_.filePath(QStringLiteral("no/such/lame"));
  Run({MakeAlbum(QStringLiteral("album"))});
  EXPECT_EQ(recorder_.states[Node(0)], (QList<int>{7, 8}));
  EXPECT_TRUE(recorder_.results[Node(0)].isEmpty());
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(recorder_.Lines(Node(0), n).size(), 2) << n; // start and file name only
  }
  EXPECT_TRUE(OutputFiles().isEmpty());
}

// A break in the middle of track 2 of 3: track 1 stays, track 2 fails with the break line and
// leaves no file, track 3 never starts, the CRC line is still written, the next cue sheet is not
// visited.
TEST_F(ConversionTest, BreakInTrackTwoStopsCleanly) {
  for (bool tagging : {true, false}) {
    SCOPED_TRACE(tagging);
    Settings().UseTagInfo = tagging;
    recorder_.Clear();
    const QString dir = tagging ? QStringLiteral("tagged") : QStringLiteral("untagged");
    // Track 2 spans several feeder blocks, so the break always arrives while it is fed.
    const QList<TTrackDef> tracks = {{QStringLiteral("夜明け"), 0, 30},
                                     {QStringLiteral("川の流れ"), -1, 95},
                                     {QStringLiteral("風の歌"), -1, 495}};
    const QString first = MakeAlbum(dir, QStringLiteral("album.wav"), true, tracks, 560);
    const QString second = MakeAlbum(dir + QStringLiteral("-next"));
    bool broke = false;
    recorder_.onAdvance = [&](int track) {
      if (track == 1 && !broke) {
        broke = true;
        batch_->RequestBreak();
      }
    };
    Run({first, second});
    EXPECT_TRUE(broke);
    EXPECT_EQ(recorder_.states[Node(0)], (QList<int>{7, 8}));
    EXPECT_TRUE(recorder_.states[Node(1)].isEmpty());
    EXPECT_EQ(recorder_.results[Node(0)].value(1), true);
    EXPECT_EQ(recorder_.results[Node(0)].value(2, true), false);
    EXPECT_TRUE(recorder_.Lines(Node(0), 2).contains(str::_log_Breaked));
    EXPECT_TRUE(recorder_.Lines(Node(0), 3).isEmpty());
    EXPECT_LT(recorder_.advanced, 495 * 588);
    const QStringList info = recorder_.Lines(Node(0), 0);
    ASSERT_GE(info.size(), 2);
    EXPECT_TRUE(info[info.size() - 2].startsWith(
        str::_log_sds_CueFileInfoCRC_Check.left(str::_log_sds_CueFileInfoCRC_Check.indexOf(u'%'))));
    EXPECT_EQ(QDir(out_ + u'/' + dir).entryList(QDir::Files), QStringList{"01 夜明け.mp3"});
    EXPECT_TRUE(TempLeftovers().isEmpty());
  }
}

// The verdict of the CRC line against an EAC-style log beside the cue sheet, in UTF-16LE with a
// byte-order mark as EAC writes it: the same value, another value, no log at all.
TEST_F(ConversionTest, CrcVerdictAgainstTheRipLog) {
  Settings().UseTagInfo = false;
  const QStringList dirs = {QStringLiteral("same"), QStringLiteral("other"),
                            QStringLiteral("none")};
  QStringList cues;
  for (const QString &dir : dirs) {
    cues << MakeAlbum(dir);
  }
  QFile wav(in_ + QStringLiteral("/same/album.wav"));
  ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
  const QByteArray pcm = wav.readAll().mid(44);
  const auto crc = static_cast<unsigned>(
      crc32(0, reinterpret_cast<const Bytef *>(pcm.constData()), static_cast<uInt>(pcm.size())));
  const auto writeLog = [&](const QString &dir, unsigned value) {
    const QString text = str::Format(QStringLiteral("Exact Audio Copy V1.0 beta 3\r\n\r\n"
                                                    "Range status and errors\r\n\r\n"
                                                    "     Peak level 100.0 %%\r\n"
                                                    "     Copy CRC %08X\r\n"
                                                    "     Copy OK\r\n"),
                                     {value});
    ASSERT_TRUE(testsupport::WriteFileBytes(in_ + u'/' + dir + QStringLiteral("/album.log"),
                                            testsupport::EncodeText(text, "UTF-16LE", true)));
  };
  writeLog(dirs[0], crc);
  writeLog(dirs[1], crc ^ 0x1u);
  Run(cues);
  const QString verdicts[] = {str::_log_CueFileInfoCRC_CheckOK, str::_log_CueFileInfoCRC_CheckNG,
                              str::_log_CueFileInfoCRC_CheckUK};
  for (int i = 0; i < 3; ++i) {
    const QString line = str::Format(str::_log_sds_CueFileInfoCRC_Check,
                                     {verdicts[i], crc, str::_log_CueFileInfoCRCModeNORM});
    EXPECT_TRUE(recorder_.Lines(Node(i), 0).contains(line))
        << dirs[i].toStdString() << ": " << recorder_.Lines(Node(i), 0).join(u'|').toStdString();
  }
}
