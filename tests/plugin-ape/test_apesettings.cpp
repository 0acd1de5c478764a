// kplape's setting: the compression level table and the INI file it lives in.
#include "plugin-ape/apeini.h"
#include "plugin-ape/apesettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CompressionLevels, TableOfValuesAndNames) {
  const struct {
    int index;
    int value;
    const char *name;
  } cases[] = {{0, 1000, "Fast"},   {1, 2000, "Normal"}, {2, 3000, "High"},  {3, 4000, "Extra"},
               {4, 5000, "Insane"}, {7, 5000, "Insane"}, {-3, 5000, "Fast"}, {-1, 5000, "Fast"}};
  for (const auto &c : cases) {
    EXPECT_EQ(CompressionLevelValue(c.index), c.value) << c.index;
    EXPECT_EQ(CompressionLevelName(c.index), QLatin1String(c.name)) << c.index;
  }
  EXPECT_EQ(ClampCompressionLevel(7), 4);
  EXPECT_EQ(ClampCompressionLevel(-3), 0);
  EXPECT_EQ(ClampCompressionLevel(2), 2);
}

TEST(CompressionLevels, SettingsFileIsNamedAfterThePlugin) {
  EXPECT_EQ(SettingsFilePath("/home/u/.config/Kelmora/quarrow/", "/opt/q/Plugin/kplape.kpl"),
            QStringLiteral("/home/u/.config/Kelmora/quarrow/kplape.ini"));
}

class IniFile : public ::testing::Test {
protected:
  QString Write(const QByteArray &text) {
    QFile file(path_);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
    return path_;
  }
  QByteArray Read() {
    QFile file(path_);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }
  QTemporaryDir dir_;
  QString path_ = dir_.filePath("kplape.ini");
};

TEST_F(IniFile, ReadsIntegersAsWindowsDoes) {
  const struct {
    const char *text;
    int expected;
  } cases[] = {
      {"[System]\r\nCompressionLevel=3\r\n", 3},
      {"[SYSTEM]\ncompressionLEVEL = 4 \n", 4},
      {"\xEF\xBB\xBF[System]\nCompressionLevel=2\n", 2},
      {"[System]\nCompressionLevel=-3\n", -3},
      {"[System]\nCompressionLevel=7x\n", 7},
      {"[System]\nCompressionLevel=x7\n", 99},
      {"[System]\nCompressionLevel=\n", 99},
      {"[Other]\nCompressionLevel=3\n", 99},
      {"CompressionLevel=3\n[System]\n", 99},
      {"[System]\n;CompressionLevel=3\n", 99},
      {"[System]\nCompressionLevel=99999999999\n", 2147483647},
  };
  for (const auto &c : cases)
    EXPECT_EQ(ReadIniInteger(Write(c.text), "System", "CompressionLevel", 99), c.expected)
        << c.text;
  EXPECT_EQ(ReadIniInteger(dir_.filePath("missing.ini"), "System", "CompressionLevel", 1), 1);
}

TEST_F(IniFile, WritesOneValueAndKeepsTheRest) {
  const struct {
    const char *before;
    const char *after;
  } cases[] = {
      {nullptr, "[System]\r\nCompressionLevel=4\r\n"},
      {"[System]\nCompressionLevel=1\n", "[System]\r\nCompressionLevel=4\r\n"},
      {"; mine\n[other]\na=1\n\n[system]\nX=2\ncompressionlevel=0\n[last]\nb=2\n",
       "; "
       "mine\r\n[other]\r\na=1\r\n\r\n[system]\r\nX=2\r\nCompressionLevel=4\r\n[last]\r\nb=2\r\n"},
      {"[System]\nX=2\n\n[last]\nb=2\n",
       "[System]\r\nX=2\r\nCompressionLevel=4\r\n\r\n[last]\r\nb=2\r\n"},
      {"[other]\na=1\n", "[other]\r\na=1\r\n[System]\r\nCompressionLevel=4\r\n"},
  };
  for (const auto &c : cases) {
    QFile::remove(path_);
    if (c.before)
      Write(c.before);
    ASSERT_TRUE(WriteIniInteger(path_, "System", "CompressionLevel", 4));
    EXPECT_EQ(Read(), QByteArray(c.after)) << (c.before ? c.before : "(none)");
    EXPECT_EQ(ReadIniInteger(path_, "System", "CompressionLevel", 99), 4);
  }
  EXPECT_FALSE(WriteIniInteger(dir_.filePath("no/such/dir/kplape.ini"), "System", "X", 1));
}

} // namespace
