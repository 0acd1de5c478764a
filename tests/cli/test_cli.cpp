// quarrow-cli as a user runs it: exit codes 0, 1 and 2, the log printed as it grows, the XML log
// saved when LogAutoSave is set, and Ctrl-C breaking the run without half-written files.
#include "messages/format.h"
#include "messages/str.h"
#include "testwav.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class CliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    in_ = root_.filePath("in");
    out_ = root_.filePath("out");
    QDir().mkpath(in_ + "/album");
    QDir().mkpath(out_);
    ini_ = root_.filePath("settings.ini");
    testsupport::WriteFileBytes(ini_, QByteArray());
  }

  void MakeAlbum(int seconds) {
    QByteArray cue = "PERFORMER \"架空の楽団\"\nTITLE \"見本\"\nFILE \"a.wav\" WAVE\n"
                     "  TRACK 01 AUDIO\n    TITLE \"一\"\n    INDEX 01 00:00:00\n"
                     "  TRACK 02 AUDIO\n    TITLE \"二\"\n    INDEX 01 00:01:00\n";
    ASSERT_TRUE(testsupport::WriteFileBytes(in_ + "/album/a.cue", cue));
    ASSERT_TRUE(testsupport::WriteTestWav(in_ + "/album/a.wav", seconds * 44100));
  }

  int Run(const QStringList &args, QString *out = nullptr, QString *err = nullptr) {
    QProcess p;
    p.start(QStringLiteral(QUARROW_BIN_DIR "/quarrow-cli"), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    if (out) {
      *out = QString::fromUtf8(p.readAllStandardOutput());
    }
    if (err) {
      *err = QString::fromUtf8(p.readAllStandardError());
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }

  QStringList Common() const {
    return {"--ini", ini_, "--output-home", out_, "--dir", in_, "--lame", "/usr/bin/lame"};
  }

  QStringList Outputs() const { return QDir(out_ + "/album").entryList(QDir::Files, QDir::Name); }

  QTemporaryDir root_;
  QString in_, out_, ini_;
};

} // namespace

TEST_F(CliTest, ConvertsAndPrintsTheLogAndSavesItWhenAsked) {
  MakeAlbum(3);
  const QString logDir = root_.filePath("logs");
  QDir().mkpath(logDir);
  testsupport::WriteFileBytes(ini_, ("[Log]\nLogAutoSave=1\nLogDirName=" + logDir + "\n").toUtf8());
  QString out, err;
  EXPECT_EQ(Run(Common(), &out, &err), 0) << err.toStdString();
  EXPECT_EQ(Outputs(), (QStringList{"01 一.mp3", "02 二.mp3"}));
  EXPECT_TRUE(out.contains(str::Format(str::_log_s_MP3FileName, {"02 二.mp3"})))
      << out.toStdString();
  EXPECT_TRUE(out.contains(str::Format(str::_log_s_WaveFileName, {"a.wav"})));
  const QStringList logs = QDir(logDir).entryList({"log*.xml"}, QDir::Files);
  EXPECT_EQ(logs.size(), 1);
  // The overrides of the run are never written back.
  QFile ini(ini_);
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  EXPECT_FALSE(ini.readAll().contains("lame"));
}

TEST_F(CliTest, FailingEncoderExitsOneAndLeavesNoFile) {
  MakeAlbum(2);
  QStringList args = Common();
  args.last() = QStringLiteral(QUARROW_BIN_DIR "/../tests/fakelame");
  QString out;
  EXPECT_EQ(Run(args, &out), 1);
  EXPECT_TRUE(out.contains(str::_err_NoCreateMP3));
  EXPECT_TRUE(Outputs().isEmpty());
}

TEST_F(CliTest, UsageAndSetUpErrorsExitTwoWithAMessage) {
  MakeAlbum(1);
  QString out, err;
  EXPECT_EQ(Run({"--help"}, &out), 0);
  EXPECT_EQ(out.trimmed(), str::_msg_CliUsage);
  struct Case {
    QStringList args;
    QString message;
  } cases[] = {
      {{"--bogus"}, str::Format(str::_msg_s_CliUnknownOption, {"--bogus"})},
      {{"--ini", ini_}, str::_msg_CliNoInput},
      {{"--ini", ini_, "/D:" + root_.filePath("none")},
       str::Format(str::_err_s_NoOptD_Dir, {root_.filePath("none")})},
      {{"--ini", ini_, "/F:" + in_ + "/album/a.wav"},
       str::Format(str::_err_s_NoOptF_File, {in_ + "/album/a.wav"})},
      {{"--ini", ini_, "--dir", in_, "--lame", root_.filePath("no-lame")},
       str::Format(str::_msg_s_CliLameNotFound, {root_.filePath("no-lame")})},
      {{"--ini", ini_, "--dir", in_, "--output-home", root_.filePath("no-out")},
       str::Format(str::_err_s_MakeNoOutputHomeDir, {root_.filePath("no-out")})},
      {{"--ini", root_.filePath("no.ini"), "--dir", in_},
       str::Format(str::_msg_s_CliIniNotFound, {root_.filePath("no.ini")})},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Run(c.args, &out, &err), 2) << c.args.join(u' ').toStdString();
    EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
  }
  EXPECT_TRUE(QDir(out_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(CliTest, InterruptBreaksTheRunCleanly) {
  MakeAlbum(20);
  QProcess p;
  p.start(QStringLiteral(QUARROW_BIN_DIR "/quarrow-cli"), Common());
  ASSERT_TRUE(p.waitForStarted());
  QByteArray out;
  // Interrupt once track 2 has started.
  const QByteArray marker = str::Format(str::_log_s_MP3FileName, {"02 二.mp3"}).toUtf8();
  while (!out.contains(marker) && p.waitForReadyRead(60000)) {
    out += p.readAllStandardOutput();
  }
  ASSERT_TRUE(out.contains(marker));
  kill(static_cast<pid_t>(p.processId()), SIGINT);
  ASSERT_TRUE(p.waitForFinished(60000));
  out += p.readAllStandardOutput();
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 1);
  EXPECT_TRUE(QString::fromUtf8(out).contains(str::_log_Breaked));
  EXPECT_EQ(Outputs(), QStringList{"01 一.mp3"});
}

TEST_F(CliTest, ConvertsAMonkeysAudioImage) {
  // A real Monkey's Audio image read through kplape and the project's libMAC.so.
  ASSERT_TRUE(QFile::copy(QStringLiteral(QUARROW_TESTDATA_DIR "/ape/real-3990-3s.ape"),
                          in_ + "/album/a.ape"));
  const QByteArray cue = "TITLE \"猿\"\nFILE \"a.ape\" WAVE\n"
                         "  TRACK 01 AUDIO\n    TITLE \"一\"\n    INDEX 01 00:00:00\n"
                         "  TRACK 02 AUDIO\n    TITLE \"二\"\n    INDEX 01 00:02:00\n";
  ASSERT_TRUE(testsupport::WriteFileBytes(in_ + "/album/a.cue", cue));
  QString out, err;
  ASSERT_EQ(Run(Common(), &out, &err), 0) << out.toStdString() << err.toStdString();
  ASSERT_EQ(Outputs(), (QStringList{"01 一.mp3", "02 二.mp3"}));
  // The image holds 156,556 frames: 2 s in track 1, the rest in track 2.
  const double expected[] = {2.0, (156556 - 2 * 44100) / 44100.0};
  for (int i = 0; i < 2; ++i) {
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {"-v", "error", "-show_entries", "format=duration", "-of", "default=nw=1:nk=1",
                 out_ + "/album/" + Outputs()[i]});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_NEAR(probe.readAllStandardOutput().trimmed().toDouble(), expected[i], 0.06) << i;
  }
}
