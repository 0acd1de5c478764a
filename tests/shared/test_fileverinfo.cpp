// TFileVerInfo reads back the version block the build embeds, and nothing from other files.
#include "messages/error.h"
#include "shared/fileverinfo.h"
#include "shared/versionblock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString selfPath() {
  return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

void expectAllEmpty(const TFileVerInfo &info) {
  for (const QString *field :
       {&info.Comments, &info.InternalName, &info.ProductName, &info.CompanyName,
        &info.LegalCopyright, &info.ProductVersion, &info.FileDescription, &info.LegalTrademarks,
        &info.PrivateBuild, &info.FileVersion, &info.OriginalFilename, &info.SpecialBuild})
    EXPECT_TRUE(field->isEmpty()) << field->toStdString();
}

} // namespace

TEST(FileVerInfo, ReadsTheBlockThisBinaryCarries) {
  TFileVerInfo info(selfPath());
  ASSERT_TRUE(info.Load(-1));
  EXPECT_EQ(info.ProductName, QStringLiteral("quarrow"));
  EXPECT_EQ(info.FileDescription, QStringLiteral("quarrow test program test_shared"));
  EXPECT_EQ(info.InternalName, QStringLiteral("test_shared"));
  EXPECT_FALSE(info.FileVersion.isEmpty());
  EXPECT_EQ(info.FileVersion, info.ProductVersion);
  EXPECT_TRUE(info.LegalCopyright.startsWith(QStringLiteral("Copyright")));
  // Strings the block does not define stay empty while the others are filled.
  EXPECT_TRUE(info.SpecialBuild.isEmpty());
  EXPECT_TRUE(info.Comments.isEmpty());
}

TEST(FileVerInfo, ExplicitTranslationMustBeListed) {
  TFileVerInfo info(selfPath());
  // Japanese (0411) with code page 04B0, as the block lists it.
  EXPECT_TRUE(info.Load(0x04B00411));
  EXPECT_EQ(info.ProductName, QStringLiteral("quarrow"));
  TFileVerInfo other(selfPath());
  try {
    other.Load(0x04E40409);
    ADD_FAILURE() << "an unlisted translation was accepted";
  } catch (const TError &e) {
    EXPECT_TRUE(e.Message.isEmpty());
  }
}

TEST(FileVerInfo, FilesWithoutBlock) {
  QTemporaryDir dir;
  const QString text = dir.filePath(QStringLiteral("plain.txt"));
  QFile f(text);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a binary\n");
  f.close();
  for (const QString &path : {text, QStringLiteral("/bin/sh")}) {
    TFileVerInfo info(path);
    EXPECT_FALSE(info.Load(-1)) << path.toStdString();
    expectAllEmpty(info);
  }
}

TEST(FileVerInfo, MissingFileRaises) {
  const QString missing = QStringLiteral("/nonexistent/quarrow.bin");
  try {
    TFileVerInfo info(missing);
    ADD_FAILURE() << "no exception";
  } catch (const TError &e) {
    EXPECT_EQ(e.Message, QStringLiteral("File not exists.(/nonexistent/quarrow.bin)"));
  }
}

TEST(VersionBlock, QueryPathsUseLowerCaseHex) {
  TVersionBlock block;
  const char bytes[] = "\\VarFileInfo\\Translation\0"
                       "04b00411 04e40409\0"
                       "\\StringFileInfo\\041104b0\\ProductName\0"
                       "ja\0"
                       "\\StringFileInfo\\040904e4\\ProductName\0"
                       "en\0";
  ASSERT_TRUE(block.Parse(QByteArray(bytes, sizeof bytes)));
  QList<std::uint32_t> table;
  ASSERT_TRUE(block.Translations(table));
  ASSERT_EQ(table.size(), 2);
  EXPECT_EQ(table[0], 0x04B00411u);
  EXPECT_EQ(GetVersionInfoString(block, table[0], QStringLiteral("ProductName")), "ja");
  EXPECT_EQ(GetVersionInfoString(block, table[1], QStringLiteral("ProductName")), "en");
  EXPECT_EQ(GetVersionInfoString(block, table[1], QStringLiteral("Comments")), "");
  // An odd number of strings is not a block.
  const char broken[] = "\\VarFileInfo\\Translation\0";
  EXPECT_FALSE(block.Parse(QByteArray(broken, sizeof broken)));
}
