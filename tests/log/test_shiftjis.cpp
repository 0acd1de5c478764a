// The XML log's Shift_JIS encoder: which characters become bytes, checked character by
// character and, for the whole table, against Python's own Shift_JIS and CP932 codecs.
#include "log/shiftjis.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(EncodeShiftJisChar, BytesOnlyWhereEveryReaderAgrees) {
  struct Case {
    char32_t code;
    QByteArray bytes;
  };
  const Case cases[] = {
      {U'A', "A"},         {U'\\', "\\"},       {U'~', "~"},         {U'\t', "\t"},
      {0xFF71, "\xB1"}, // ｱ half-width katakana
      {U'あ', "\x82\xA0"}, {U'曲', "\x8B\xC8"}, {U'亜', "\x88\x9F"}, {U'ー', "\x81\x5B"},
      {U'・', "\x81\x45"}, {0x00A5, ""}, // yen sign: other encoders write the backslash's byte
      {0x203E, ""},                      // overline: other encoders write the tilde's byte
      {0x301C, ""},                      // wave dash: CP932 reads its bytes as the full-width tilde
      {0xFF5E, ""},                      // full-width tilde: strict Shift_JIS has no such character
      {0xFF3C, ""},  // full-width reverse solidus: Shift_JIS-2004 reads it as ASCII
      {0x2460, ""},  // ① exists only in CP932
      {0xD55C, ""},  // 한
      {0x1F600, ""}, // an emoji
      {0x00E9, ""},  // é
  };
  for (const Case &c : cases)
    EXPECT_EQ(EncodeShiftJisChar(c.code), c.bytes) << std::hex << static_cast<unsigned>(c.code);
}

TEST(EncodeShiftJisChar, EveryEncodedCharacterDecodesAlikeInPython) {
  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  ASSERT_FALSE(python.isEmpty()) << "python3 is needed for this comparison";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile file(dir.filePath(QStringLiteral("table.txt")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  int encoded = 0;
  for (char32_t code = 0x80; code < 0x10000; ++code) {
    const QByteArray bytes = EncodeShiftJisChar(code);
    if (bytes.isEmpty())
      continue;
    ++encoded;
    file.write(QByteArray::number(static_cast<uint>(code)) + ' ' + bytes.toHex() + '\n');
  }
  file.close();
  // JIS X 0208 has 6879 characters and the half-width katakana are 63 more; a handful of
  // them are left out where the mappings differ.
  EXPECT_GT(encoded, 6900);
  EXPECT_LT(encoded, 6942);

  const char *script = R"(
import sys
bad = 0
for line in open(sys.argv[1]):
    code, hexbytes = line.split()
    raw = bytes.fromhex(hexbytes)
    for codec in ('shift_jis', 'cp932', 'shift_jis_2004'):
        try:
            if raw.decode(codec) != chr(int(code)):
                bad += 1
        except UnicodeDecodeError:
            bad += 1
print(bad)
)";
  QProcess process;
  process.start(python, {QStringLiteral("-c"), QString::fromUtf8(script), file.fileName()});
  ASSERT_TRUE(process.waitForFinished(60000));
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(process.readAllStandardOutput().trimmed(), "0");
}

} // namespace
