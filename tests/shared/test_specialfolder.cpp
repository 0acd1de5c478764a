// Special folders map to the user's documents and configuration directories.
#include "shared/specialfolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SpecialFolder, MapsAndCreatesFolders) {
  QTemporaryDir home;
  qputenv("HOME", home.path().toUtf8());
  qunsetenv("XDG_CONFIG_HOME");
  qunsetenv("XDG_DOCUMENTS_DIR");
  const QString config = GetSpecialFolderPath(nullptr, CSIDL_LOCAL_APPDATA);
  EXPECT_EQ(config, QDir(home.path()).filePath(QStringLiteral(".config")));
  EXPECT_TRUE(QDir(config).exists());
  const QString documents = GetSpecialFolderPath(nullptr, CSIDL_PERSONAL);
  EXPECT_FALSE(documents.isEmpty());
  EXPECT_TRUE(QDir(documents).exists());
  EXPECT_TRUE(GetSpecialFolderPath(nullptr, 99).isEmpty());
}
