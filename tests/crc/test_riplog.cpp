// Finding the rip log beside a cue sheet and reading the ripper's CRC: real EAC logs, generated
// UTF-16LE logs, caption splitting and the line rule.
#include "crc/crc32.h"
#include "crc/riplog.h"
#include "messages/error.h"
#include "messages/str.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace {

QString RipLogDir() {
  return QStringLiteral(QUARROW_TESTDATA_DIR "/riplog/");
}

void WriteFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// The text as EAC writes its logs: UTF-16LE with a byte-order mark, CRLF line ends.
QByteArray Utf16LeWithMark(const QString &text) {
  QByteArray bytes("\xFF\xFE", 2);
  QString crlf = text;
  crlf.replace(u'\n', QStringLiteral("\r\n"));
  for (QChar c : crlf) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

std::optional<std::uint32_t> Lookup(const QString &cue, const QString &caption) {
  std::uint32_t crc = 0;
  if (!FindRipLogCRC(cue, caption, crc))
    return std::nullopt;
  return crc;
}

TEST(SplitCrcCaption, OnlyTheDelimiterSeparatesAndQuotesGroup) {
  struct Case {
    QString setting;
    QStringList candidates;
  };
  const Case cases[] = {
      {str::_env_default_CRCCaption, {"Copy CRC", QString::fromUtf8("コピーCRC")}},
      {"", {}},
      {"Copy CRC", {"Copy CRC"}},
      {" Copy CRC ; x", {" Copy CRC ", " x"}},
      {"a;", {"a", ""}},
      {";", {"", ""}},
      {"a;;b", {"a", "", "b"}},
      {"\"a;b\";c", {"a;b", "c"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\"open;end", {"open;end"}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SplitCrcCaption(c.setting), c.candidates) << c.setting.toStdString();
}

TEST(FindCrcInLines, TheFirstLineWithAValidValueWins) {
  const QStringList candidates = SplitCrcCaption(str::_env_default_CRCCaption);
  struct Case {
    QStringList lines;
    std::optional<std::uint32_t> crc;
  };
  const Case cases[] = {
      {{"     Copy CRC 3ad2f0e1"}, 0x3AD2F0E1u},
      {{"     Copy CRC 3AD2F0E", "     Copy CRC 0BADF00D"}, 0x0BADF00Du},
      {{QString::fromUtf8("     コピーCRC 0000ABCD")}, 0x0000ABCDu},
      {{"Copy CRC\t12345678\t"}, 0x12345678u},
      {{"Copy CRC 123456789"}, std::nullopt},
      {{"Copy CRC 1234567G"}, std::nullopt},
      {{"Copy CRC 1234 5678"}, std::nullopt},
      {{QString::fromUtf8("Copy CRC １２３４５６７８")}, std::nullopt},
      {{"copy crc 12345678", "Test CRC 12345678"}, std::nullopt},
      {{"Copy CRC: 12345678"}, std::nullopt},
      {{"     Copy CRC ", "Copy CRC 00000000"}, 0u},
      {{}, std::nullopt},
  };
  for (const Case &c : cases)
    EXPECT_EQ(FindCrcInLines(c.lines, candidates), c.crc) << c.lines.join('|').toStdString();
}

TEST(FindCrcInLines, OnlyTheFirstOccurringCandidateIsTriedOnALine) {
  const QStringList lines{"Copy CRC OK CRC 12345678", "CRC 87654321"};
  EXPECT_EQ(FindCrcInLines(lines, {"Copy CRC", "CRC"}), 0x87654321u);
  EXPECT_EQ(FindCrcInLines(lines, {"OK CRC", "Copy CRC"}), 0x12345678u);
  EXPECT_EQ(FindCrcInLines(lines, {"", ""}), std::nullopt);
}

struct RealLog {
  const char *log;
  const char *caption; // UTF-8; null for the default caption setting
  std::optional<std::uint32_t> crc;
};

class RealRipLogs : public testing::TestWithParam<RealLog> {};

TEST_P(RealRipLogs, YieldTheirCopyCrc) {
  const RealLog &c = GetParam();
  QString cue = RipLogDir() + QString::fromUtf8(c.log);
  cue.replace(QStringLiteral(".log"), QStringLiteral(".cue"));
  const QString caption = c.caption ? QString::fromUtf8(c.caption) : str::_env_default_CRCCaption;
  EXPECT_EQ(Lookup(cue, caption), c.crc);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, RealRipLogs,
    testing::Values(RealLog{"log-001-eac10b3-utf16le-range-rip.log", nullptr, 0x38370991u},
                    RealLog{"log-002-eac16-utf8-range-rip-unindented.log", nullptr, 0x8CB5CC70u},
                    RealLog{"log-005-eac099-ascii-8-logs-concatenated.log", nullptr, 0x100AAB73u},
                    RealLog{"log-007-eac099-cp1251-russian-per-track.log", nullptr, std::nullopt},
                    RealLog{"log-007-eac099-cp1251-russian-per-track.log", "Copy CRC;CRC копии",
                            0x37374B7Au},
                    RealLog{"log-001-eac10b3-utf16le-range-rip.log", "", std::nullopt},
                    RealLog{"log-001-eac10b3-utf16le-range-rip.log", "Peak level", std::nullopt}),
    [](const testing::TestParamInfo<RealLog> &info) {
      return QString::fromUtf8(info.param.log).section(u'-', 0, 1).remove(u'-').toStdString() +
             "_" + std::to_string(info.index);
    });

TEST(FindRipLogCRC, SeveralLogsAndNoneOfTheCueSheetsNameIsUnknown) {
  EXPECT_EQ(Lookup(RipLogDir() + "no-such-album.cue", str::_env_default_CRCCaption), std::nullopt);
}

class GeneratedLogs : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
  QString EacLog(std::uint32_t crc) const {
    return QString::fromUtf8("Exact Audio Copy V1.0 beta 3 from 29. August 2011\n\n"
                             "EAC 抽出ログファイル 2026年12月11日\n\n"
                             "範囲の状態とエラー\n\n"
                             "選択された範囲\n\n"
                             "     ピークレベル 98.8 %\n"
                             "     テストCRC %1\n"
                             "     コピーCRC %1\n"
                             "     コピー OK\n")
        .arg(QString::number(crc, 16).rightJustified(8, u'0').toUpper());
  }
  QTemporaryDir dir;
};

TEST_F(GeneratedLogs, Utf16LeLogHoldsTheValueComputedOverThePcm) {
  std::vector<std::uint8_t> pcm(44100 * 4);
  for (std::size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<std::uint8_t>((i * 7919) >> 3);
  TCrc32EAC crc;
  crc.Update(pcm.data(), pcm.size());

  WriteFile(Path("アルバム.log"), Utf16LeWithMark(EacLog(crc.GetValue())));
  EXPECT_EQ(Lookup(Path("アルバム.cue"), str::_env_default_CRCCaption), crc.GetValue());

  WriteFile(Path("アルバム.log"), Utf16LeWithMark(EacLog(crc.GetValue() ^ 1u)));
  const auto other = Lookup(Path("アルバム.cue"), str::_env_default_CRCCaption);
  ASSERT_TRUE(other.has_value());
  EXPECT_NE(*other, crc.GetValue());

  WriteFile(Path("アルバム.log"), Utf16LeWithMark(QString::fromUtf8("コピー OK\n")));
  EXPECT_EQ(Lookup(Path("アルバム.cue"), str::_env_default_CRCCaption), std::nullopt);
}

TEST_F(GeneratedLogs, TheCueSheetsOwnLogWinsOverOthers) {
  WriteFile(Path("Album.log"), Utf16LeWithMark("Copy CRC 11111111\n"));
  WriteFile(Path("Other.log"), Utf16LeWithMark("Copy CRC 22222222\n"));
  EXPECT_EQ(Lookup(Path("Album.cue"), "Copy CRC"), 0x11111111u);
  EXPECT_EQ(Lookup(Path("Other.cue"), "Copy CRC"), 0x22222222u);
}

TEST_F(GeneratedLogs, TheOnlyLogOfTheDirectoryIsUsedTwoAreNot) {
  EXPECT_EQ(Lookup(Path("Album.cue"), "Copy CRC"), std::nullopt);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.log"));
  EXPECT_EQ(FindRipLogFile(Path("Album.cue")), QString());
  WriteFile(Path("rip.txt"), "Copy CRC 33333333\r\n");
  WriteFile(Path("rip.log"), "Copy CRC 44444444\r\n");
  EXPECT_EQ(Lookup(Path("Album.cue"), "Copy CRC"), 0x44444444u);
  WriteFile(Path("second.LOG"), "Copy CRC 55555555\r\n");
  EXPECT_EQ(FindRipLogFile(Path("Album.cue")), QString());
  EXPECT_EQ(Lookup(Path("Album.cue"), "Copy CRC"), std::nullopt);
}

TEST_F(GeneratedLogs, ALogNamedLikeTheCueSheetInAnotherCaseIsItsOwn) {
  WriteFile(Path("Album.LOG"), "Copy CRC 66666666\n");
  WriteFile(Path("other.log"), "Copy CRC 77777777\n");
  EXPECT_EQ(FindRipLogFile(Path("Album.cue")), Path("Album.LOG"));
  EXPECT_EQ(FindRipLogFile(Path("album")), Path("Album.LOG"));
}

TEST_F(GeneratedLogs, AFifoIsNeverTakenForALog) {
  for (const char *name : {"Album.log", "other.log"}) {
    const QByteArray fifo = QFile::encodeName(Path(name));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
  }
  EXPECT_EQ(FindRipLogFile(Path("Album.cue")), QString());
  EXPECT_EQ(Lookup(Path("Album.cue"), "Copy CRC"), std::nullopt);
}

TEST_F(GeneratedLogs, AnUnreadableLogRaisesWithItsPath) {
  // A name that the directory lists as a regular file but whose reading fails.
  ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), Path("Album.log")));
  try {
    std::uint32_t crc = 0;
    FindRipLogCRC(Path("Album.cue"), str::_env_default_CRCCaption, crc);
    FAIL() << "no exception";
  } catch (const TError &error) {
    EXPECT_TRUE(error.Message.contains(Path("Album.log"))) << error.what();
  }
}

} // namespace
