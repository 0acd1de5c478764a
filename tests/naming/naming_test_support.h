// Helpers shared by the naming tests: readable QString output, and a scratch directory.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
  *os << '"' << s.toStdString() << '"';
}

inline QString Q(const char16_t *text) {
  return QString::fromUtf16(text);
}

// The platform's way of joining a/b, for expected relative names.
inline QString Joined(const QStringList &parts) {
  return parts.join(QDir::separator());
}

// Writes an empty file (creating its directory).
inline void Touch(const QString &path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}
