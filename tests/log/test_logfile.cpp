// The XML log file: its elements and attributes read back by Python's own Shift_JIS codec and
// XML parser, character references for what Shift_JIS lacks, the file name, the failures.
#include "log/logfile.h"
#include "messages/error.h"
#include "messages/str.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString U(const char *utf8) {
  return QString::fromUtf8(utf8);
}

// The file as Python reads it: decoded with its strict Shift_JIS codec, parsed by its XML
// parser, each element as [tag, attributes, own text, children].
QJsonDocument ReadWithPython(const QString &path) {
  const char *script = R"(
import json, sys
import xml.etree.ElementTree as ET
raw = open(sys.argv[1], 'rb').read()
text = raw.decode('shift_jis')
def walk(e):
    return [e.tag, e.attrib, (e.text or '').strip(), [walk(c) for c in e]]
print(json.dumps(walk(ET.fromstring(text)), ensure_ascii=True))
)";
  QProcess process;
  process.start(QStandardPaths::findExecutable(QStringLiteral("python3")),
                {QStringLiteral("-c"), QString::fromUtf8(script), path});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    ADD_FAILURE() << "python could not read the log: "
                  << process.readAllStandardError().toStdString();
    return {};
  }
  return QJsonDocument::fromJson(process.readAllStandardOutput());
}

QByteArray ReadBytes(const QString &path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

class LogFile : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty());
    tree.LogPresent = true;
    tree.EndTime = QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7));
  }

  // A run over four entries: one converted, one that failed, one whose cue file was missing,
  // one left unchecked.
  void FillRun() {
    TLogNode *done = tree.AddFile(U("みなみけ/DISC1.cue"));
    TLogNode *failed = tree.AddFile(U("broken.cue"));
    TLogNode *missing = tree.AddFile(U("missing.cue"));
    tree.AddFile(U("skipped.cue"), LogImageUnchecked);

    tree.AddLog(done, 0, 0, U("処理開始 : 2026/12/11 9:00:00"));
    tree.AddLog(done, 0, 3, U("Genre : \"アニメ\""));
    tree.AddLog(done, 0, 2, U("TITLE : \"DISC1\""));
    tree.AddLog(done, 1, 4, U("TIT2 : \"みなうた\""));
    tree.AddLog(done, 1, 5, U("Compression : CL2"));
    TLogNode *lame = tree.AddLog(done, 1, 0, U("Lameエラー情報"));
    tree.AddDetail(lame, U("LAME 3.100 64bits (http://lame.sf.net)"));
    tree.AddDetail(lame, U("bell\x07 and escape\x1B"));
    tree.AddLog(done, 1, 0, U("曲名 ¥100 〜 ～ ① 한글 😀 & <tag> \"q\""));
    tree.SetTrackCaption(done, 1, U("01 みなうた.mp3"));
    tree.SetTrackResult(done, 1, true);
    tree.AddLog(done, 2, 0, U("ユーザによる処理中止"));
    tree.SetTrackResult(done, 2, false);
    tree.AddLog(done, 3, 0, U("pending"));
    tree.SetFileState(done, LogImageConverted);

    tree.AddLog(failed, 0, 0, U("cueファイルのアルバムレベル情報不正"));
    tree.SetFileState(failed, LogImageConvertError);
    tree.SetFileState(missing, LogImageCueFileMissing);
  }

  QTemporaryDir dir;
  TLogTree tree;
};

TEST_F(LogFile, PythonReadsEveryElementAndEveryText) {
  FillRun();
  const QString path = SaveLog(tree, dir.path());
  EXPECT_EQ(path, dir.filePath(QStringLiteral("log20261211090507.xml")));

  const QJsonDocument expected = QJsonDocument::fromJson(QString::fromUtf8(R"json(
["Files", {}, "", [
  ["File", {"state": "処理済"}, "みなみけ/DISC1.cue", [
    ["CueFile", {}, "Cueファイル情報", [
      ["Info", {}, "情報定義", [
        ["MacroList", {}, "ユーザ定義マクロ", [["Macro", {}, "Genre : \"アニメ\"", []]]],
        ["Definition", {}, "TITLE : \"DISC1\"", []]]],
      ["log", {}, "処理開始 : 2026/12/11 9:00:00", []]]],
    ["Track", {"TrackNo": "1", "State": "成功"}, "トラック 01 : 01 みなうた.mp3", [
      ["Info", {}, "情報定義", [
        ["ID3TagList", {}, "ID3タグ", [["ID3Tag", {}, "TIT2 : \"みなうた\"", []]]],
        ["OptionList", {}, "実行時オプション", [["Option", {}, "Compression : CL2", []]]]]],
      ["log", {}, "Lameエラー情報", [
        ["detail", {}, "LAME 3.100 64bits (http://lame.sf.net)", []],
        ["detail", {}, "bell\\a and escape\\?", []]]],
      ["log", {}, "曲名 ¥100 〜 ～ ① 한글 😀 & <tag> \"q\"", []]]],
    ["Track", {"TrackNo": "2", "State": "失敗"}, "トラック 02", [
      ["log", {}, "ユーザによる処理中止", []]]],
    ["Track", {"TrackNo": "3", "State": "未処理"}, "トラック 03", [
      ["log", {}, "pending", []]]]]],
  ["File", {"state": "未処理"}, "broken.cue", [
    ["CueFile", {}, "Cueファイル情報", [
      ["log", {}, "cueファイルのアルバムレベル情報不正", []]]]]]]]
)json")
                                                             .toUtf8());
  ASSERT_FALSE(expected.isNull());
  EXPECT_EQ(ReadWithPython(path), expected);

  const QByteArray bytes = ReadBytes(path);
  EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"))
      << bytes.left(60).toStdString();
  // Japanese text is written as Shift_JIS bytes, the rest as character references.
  EXPECT_TRUE(bytes.contains(QByteArray("\x8B\xC8\x96\xBC", 4))); // 曲名
  for (const char *reference :
       {"&#165;", "&#12316;", "&#65374;", "&#9312;", "&#54620;", "&#44544;", "&#128512;"})
    EXPECT_TRUE(bytes.contains(reference)) << reference;
  EXPECT_FALSE(bytes.contains('\x07'));
}

TEST_F(LogFile, ARunWithOnlyMissingCueFilesWritesTheRootAlone) {
  TLogNode *a = tree.AddFile("a.cue");
  TLogNode *b = tree.AddFile("b.cue");
  tree.SetFileState(a, LogImageCueFileMissing);
  tree.SetFileState(b, LogImageCueFileMissing);
  const QString path = SaveLog(tree, dir.path());
  ASSERT_FALSE(path.isEmpty());
  EXPECT_EQ(ReadWithPython(path), QJsonDocument::fromJson(R"(["Files", {}, "", []])"));
}

TEST_F(LogFile, NothingIsWrittenWithoutALogOrWithoutNodes) {
  EXPECT_EQ(SaveLog(tree, dir.path()), QString());
  tree.AddFile("a.cue");
  tree.LogPresent = false;
  EXPECT_EQ(SaveLog(tree, dir.path()), QString());
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(LogFile, SavingAgainReplacesTheSameFileAndLeavesNothingElse) {
  FillRun();
  const QString first = SaveLog(tree, dir.path() + QStringLiteral("/"));
  tree.AddLog(tree.Item(0), 0, 0, U("二度目"));
  const QString second = SaveLog(tree, dir.path());
  EXPECT_EQ(QFileInfo(first).fileName(), QFileInfo(second).fileName());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({QStringLiteral("log20261211090507.xml")}));
  EXPECT_TRUE(ReadBytes(second).contains(QByteArray("\x93\xF1\x93\x78\x96\xDA", 6))); // 二度目
}

TEST_F(LogFile, FailuresRaiseTheirMessagesAndLeaveNoFile) {
  FillRun();
  struct Case {
    QString dir;
    const QString &message;
  };
  const Case cases[] = {
      {QString(), str::_err_no_logdir},
      {dir.filePath("no-such-dir"), str::_err_no_logdir},
      {dir.filePath("file-not-dir"), str::_err_no_logdir},
      {QStringLiteral("/proc"), str::_err_fail_to_logsave},
  };
  QFile plain(dir.filePath("file-not-dir"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  for (const Case &c : cases) {
    try {
      SaveLog(tree, c.dir);
      ADD_FAILURE() << "no exception for " << c.dir.toStdString();
    } catch (const TError &error) {
      EXPECT_EQ(error.Message, c.message) << c.dir.toStdString();
    }
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"file-not-dir"}));
}

TEST(LogFileName, EndTimeWithFourDigitYearAnd24Hours) {
  EXPECT_EQ(LogFileName(QDateTime(QDate(2026, 1, 2), QTime(23, 4, 5))),
            QStringLiteral("log20260102230405.xml"));
  EXPECT_EQ(LogFileName(QDateTime(QDate(999, 12, 31), QTime(0, 0, 0))),
            QStringLiteral("log09991231000000.xml"));
}

} // namespace
