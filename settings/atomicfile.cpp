// Atomic replacement by a temporary file in the same directory, fsync and rename(2).
#include "settings/atomicfile.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::atomic<TWriteFunction> writeFunction{nullptr};

[[noreturn]] void Fail(const QString &path, int error) {
  throw TError(str::Format(str::_err_ss_SettingsFileWrite,
                           {QDir::toNativeSeparators(path),
                            QString::fromStdString(std::generic_category().message(error))}));
}

// The file that a save must replace: the target of a symbolic link, else path itself.
QString ResolveTarget(const QString &path) {
  QString target = QFileInfo(path).absoluteFilePath();
  for (int hops = 0; hops < 40; ++hops) {
    const QFileInfo info(target);
    if (!info.isSymLink())
      return target;
    target = info.symLinkTarget();
  }
  return target;
}

// Opens a new, unused file beside target; the descriptor, or -1 with errno set.
int CreateTemporary(const QString &target, QByteArray &name) {
  const QFileInfo info(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString candidate = info.absolutePath() + u'/' + u'.' + info.fileName() + u'.' +
                              QString::number(QRandomGenerator::global()->generate(), 36) +
                              QStringLiteral(".tmp");
    name = QFile::encodeName(candidate);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const QByteArray &data) {
  const TWriteFunction write = writeFunction.load() ? writeFunction.load() : &::write;
  const char *p = data.constData();
  qsizetype left = data.size();
  while (left > 0) {
    const ssize_t n = write(fd, p, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

void SyncDirectory(const QString &target) {
  const QByteArray dir = QFile::encodeName(QFileInfo(target).absolutePath());
  const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd); // the rename is done; a failure here cannot be undone and is not reported
    ::close(fd);
  }
}

} // namespace

TWriteFunction SetAtomicWriteFunction(TWriteFunction function) {
  return writeFunction.exchange(function);
}

void WriteFileAtomically(const QString &path, const QByteArray &data) {
  const QString target = ResolveTarget(path);
  const QByteArray targetName = QFile::encodeName(target);
  QByteArray temporary;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0)
    Fail(path, errno);

  bool ok = true;
  struct stat old {};
  if (::stat(targetName.constData(), &old) == 0)
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, data) && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temporary.constData(), targetName.constData()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temporary.constData());
    Fail(path, error);
  }
  SyncDirectory(target);
}
