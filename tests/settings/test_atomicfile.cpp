// Atomic replacement of a file, including a write that fails part-way.
#include "settings/atomicfile.h"
#include "testfiles.h"

#include "messages/error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes at most half of what it is given, then fails as a full disk does.
ssize_t WriteHalfThenFail(int fd, const void *buffer, size_t count) {
  static thread_local bool wroteOnce = false;
  if (!wroteOnce && count > 1) {
    wroteOnce = true;
    return ::write(fd, buffer, count / 2);
  }
  wroteOnce = false;
  errno = ENOSPC;
  return -1;
}

class settings_atomic_file : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  void TearDown() override { SetAtomicWriteFunction(nullptr); }
  QString Path(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

  QTemporaryDir dir_;
};

TEST_F(settings_atomic_file, CreatesAndReplaces) {
  const QString path = Path("quarrow.ini");
  WriteFileAtomically(path, "first");
  EXPECT_EQ(ReadAll(path), "first");
  WriteFileAtomically(path, QByteArray(100000, 'x'));
  EXPECT_EQ(ReadAll(path), QByteArray(100000, 'x'));
  WriteFileAtomically(path, QByteArray());
  EXPECT_EQ(ReadAll(path), QByteArray());
  EXPECT_EQ(Entries(), QStringList{QStringLiteral("quarrow.ini")});
}

TEST_F(settings_atomic_file, KeepsPermissionsAndFollowsLinks) {
  const QString path = Path("real.ini");
  WriteRaw(path, "old");
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
  ASSERT_TRUE(QFile::link(path, Path("link.ini")));
  WriteFileAtomically(Path("link.ini"), "new");
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_TRUE(QFileInfo(Path("link.ini")).isSymLink());
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(settings_atomic_file, WriteFailingPartWayLeavesTheOldFileByteForByte) {
  const QString path = Path("quarrow.ini");
  const QByteArray old = QByteArray("[Lame]\r\nQuality=3\r\n\xEF\xBC\x8A") + QByteArray(5000, 'o');
  WriteRaw(path, old);
  SetAtomicWriteFunction(&WriteHalfThenFail);
  try {
    WriteFileAtomically(path, QByteArray(20000, 'n'));
    FAIL() << "the failed write was reported as success";
  } catch (const TError &error) {
    EXPECT_TRUE(error.Message.contains(path)) << error.Message.toStdString();
    EXPECT_TRUE(error.Message.contains(QString::fromStdString(std::strerror(ENOSPC))))
        << error.Message.toStdString();
  }
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(Entries(), QStringList{QStringLiteral("quarrow.ini")}) << "temporary file left";
}

TEST_F(settings_atomic_file, FailuresBeforeAndAtTheRenameAreReported) {
  EXPECT_THROW(WriteFileAtomically(Path("missing/dir/quarrow.ini"), "x"), TError);
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("taken.ini")));
  ASSERT_TRUE(QDir(Path("taken.ini")).mkdir(QStringLiteral("inside")));
  EXPECT_THROW(WriteFileAtomically(Path("taken.ini"), "x"), TError); // a directory is in the way
  EXPECT_TRUE(QFileInfo(Path("taken.ini/inside")).isDir());
  EXPECT_EQ(Entries(), QStringList{QStringLiteral("taken.ini")});
}

} // namespace
