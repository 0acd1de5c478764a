// Helpers of the host's tests: where the test plug-ins are, a view of their counters, the log
// of their entry points, and checks for the errors the host raises.
#pragma once

#include "messages/error.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>

inline QString TestPluginDir(const char *folder) {
  return QDir(QStringLiteral(QUARROW_TEST_PLUGIN_DIR)).filePath(QLatin1String(folder));
}

inline QString TestPluginPath(const char *folder, const char *name) {
  return QDir(TestPluginDir(folder)).filePath(QLatin1String(name) + QStringLiteral(".kpl"));
}

// Whether the library at path is mapped into the process right now.
inline bool IsMapped(const QString &path) {
  void *h = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
  if (h)
    dlclose(h);
  return h != nullptr;
}

// Keeps a test plug-in mapped for the whole test, so that its counters survive the host's
// unloading, and reads them.
class TPluginProbe {
public:
  explicit TPluginProbe(const QString &path)
      : handle_(dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_) {
      counter_ = reinterpret_cast<int (*)(const char *)>(dlsym(handle_, "TestCounter"));
      lastParent_ = reinterpret_cast<void *(*)()>(dlsym(handle_, "TestLastParent"));
    }
  }
  ~TPluginProbe() {
    if (handle_)
      dlclose(handle_);
  }
  TPluginProbe(const TPluginProbe &) = delete;
  TPluginProbe &operator=(const TPluginProbe &) = delete;

  bool Ok() const { return counter_ && lastParent_; }
  int Count(const char *name) const { return counter_ ? counter_(name) : -1; }
  void *LastParent() const { return lastParent_ ? lastParent_() : nullptr; }

private:
  void *handle_;
  int (*counter_)(const char *) = nullptr;
  void *(*lastParent_)() = nullptr;
};

// Collects the entry point calls of the test plug-ins ("<name> attach", "<name> detach") while
// it lives.
class TEntryLog {
public:
  TEntryLog() : path_(dir_.filePath(QStringLiteral("entry.log"))) {
    setenv("TP_ENTRY_LOG", QFile::encodeName(path_).constData(), 1);
  }
  ~TEntryLog() { unsetenv("TP_ENTRY_LOG"); }

  QStringList Lines() const {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
      return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }

private:
  QTemporaryDir dir_;
  QString path_;
};

// Runs fn and returns the message of the TError it raises; a test fails when it raises nothing
// or something else.
template <typename Fn> QString RaisedMessage(Fn fn) {
  try {
    fn();
  } catch (const TError &e) {
    return e.Message;
  } catch (...) {
    ADD_FAILURE() << "raised something other than TError";
    return {};
  }
  ADD_FAILURE() << "raised nothing";
  return {};
}
