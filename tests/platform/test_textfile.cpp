// Text files as lines: byte-order marks, UTF-8 validation, detection, line breaks, real files.
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString TestData(const char *relative) {
  return QStringLiteral(QUARROW_TESTDATA_DIR "/") + QString::fromUtf8(relative);
}

QByteArray Bytes(const char *data, int size) {
  return QByteArray(data, size);
}

struct RealFile {
  const char *file;
  const char *encoding;
  int lineCount;
  int lineIndex;
  const char *line; // UTF-8
};

class RealTextFiles : public testing::TestWithParam<RealFile> {};

TEST_P(RealTextFiles, DecodeToTheExpectedLines) {
  const RealFile &c = GetParam();
  QFile file(TestData(c.file));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(DetectTextEncoding(file.readAll()).toLower(), QByteArray(c.encoding).toLower());

  QStringList lines;
  ASSERT_TRUE(LoadTextFileLines(TestData(c.file), lines));
  EXPECT_EQ(lines.size(), c.lineCount);
  ASSERT_GT(lines.size(), c.lineIndex);
  EXPECT_EQ(lines[c.lineIndex], QString::fromUtf8(c.line));
  for (const QString &line : lines) {
    EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n'));
    EXPECT_FALSE(line.contains(QChar::ReplacementCharacter)) << line.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, RealTextFiles,
    testing::Values(RealFile{"cue/cue-028-sjis-catalog-isrc-pregaps-lf.cue", "windows-31j", 89, 8,
                             "    PERFORMER \"みなみけのみなさん\""},
                    RealFile{"cue/cue-001-cp1251-crlf-rem.cue", "WINDOWS-1251", 21, 4,
                             "PERFORMER \"Супер группа\""},
                    RealFile{"cue/cue-003-utf8-bom-cyrillic-crlf.cue", "UTF-8", 21, 0,
                             "REM GENRE \"Rock & Roll\""},
                    RealFile{"cue/cue-029-utf16le-bom-crlf-japanese.cue", "UTF-16LE", 26, 4,
                             "PERFORMER \"芳乃(CV.MAKO)&しゃも(CV.豊崎愛生)\""},
                    RealFile{"riplog/log-001-eac10b3-utf16le-range-rip.log", "UTF-16LE", 70, 48,
                             "     Copy CRC 38370991"},
                    RealFile{"riplog/log-007-eac099-cp1251-russian-per-track.log", "WINDOWS-1251",
                             153, 48, "     CRC копии 37374B7A"}));

TEST(DecodeText, ByteOrderMarksSelectTheEncodingAndAreDropped) {
  const QString expected = QString::fromUtf8("曲 Ж");
  EXPECT_EQ(DecodeText(Bytes("\xEF\xBB\xBF\xE6\x9B\xB2 \xD0\x96", 9)), expected);
  EXPECT_EQ(DecodeText(Bytes("\xFF\xFE\xF2\x66\x20\x00\x16\x04", 8)), expected);
  EXPECT_EQ(DecodeText(Bytes("\xFE\xFF\x66\xF2\x00\x20\x04\x16", 8)), expected);
  EXPECT_EQ(DecodeText(Bytes("\xFF\xFE", 2)), QString());
}

TEST(DecodeText, ValidUtf8WithoutMarkIsUtf8) {
  EXPECT_EQ(DetectTextEncoding("plain ascii"), "UTF-8");
  EXPECT_EQ(DecodeText("\xE3\x81\x82\xF0\x9F\x8E\xB5"), QString::fromUtf8("あ🎵"));
}

TEST(DecodeText, UndetectableBytesFallBackToCp932) {
  // "①～曲": the circled digit and the tilde exist only in the Windows code page.
  const QByteArray bytes = Bytes("\x87\x40\x81\x60\x8B\xC8", 6);
  EXPECT_EQ(DetectTextEncoding(bytes), "windows-31j");
  EXPECT_EQ(DecodeText(bytes), QString::fromUtf8("①～曲"));
}

TEST(IsValidUtf8, RejectsEveryMalformedSequence) {
  struct Case {
    QByteArray bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"\x7F", true},
      {"\xC2\x80", true},
      {"\xEF\xBF\xBF", true},
      {"\xF4\x8F\xBF\xBF", true},
      {"\x80", false},             // stray continuation byte
      {"\xC0\xAF", false},         // overlong '/'
      {"\xE0\x80\xAF", false},     // overlong, three bytes
      {"\xED\xA0\x80", false},     // surrogate
      {"\xF4\x90\x80\x80", false}, // above U+10FFFF
      {"\xE3\x81", false},         // truncated at the end
      {"\xE3\x41\x82", false},     // continuation missing
      {"\xF8\x88\x80\x80\x80", false},
      {"\xFF", false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes.toHex().toStdString();
}

TEST(SplitTextLines, EveryBreakStyleEndsALine) {
  struct Case {
    const char16_t *text;
    QStringList lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a", {"a"}},
      {u"a\r\nb\r\n", {"a", "b"}},
      {u"a\r\nb", {"a", "b"}},
      {u"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {u"\r\n", {""}},
      {u"a\n\nb", {"a", "", "b"}},
      {u"a\r\rb", {"a", "", "b"}},
      {u"a\n\r\nb", {"a", "", "b"}},
      {u"a\r\n\r", {"a", ""}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SplitTextLines(QString::fromUtf16(c.text)), c.lines);
}

TEST(LoadTextFileLines, UnreadablePathsFailWithNoLines) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QStringList lines{"stale"};
  EXPECT_FALSE(LoadTextFileLines(dir.filePath("missing.cue"), lines));
  EXPECT_TRUE(lines.isEmpty());
  lines = {"stale"};
  EXPECT_FALSE(LoadTextFileLines(dir.path(), lines));
  EXPECT_TRUE(lines.isEmpty());
  // A FIFO nobody writes to must not block the reader.
  const QByteArray fifo = QFile::encodeName(dir.filePath("fifo.cue"));
  ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
  EXPECT_FALSE(LoadTextFileLines(QFile::decodeName(fifo), lines));
}

TEST(LoadTextFileLines, EmptyFileHasNoLines) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile file(dir.filePath("empty.cue"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  QStringList lines{"stale"};
  EXPECT_TRUE(LoadTextFileLines(file.fileName(), lines));
  EXPECT_TRUE(lines.isEmpty());
}

} // namespace
