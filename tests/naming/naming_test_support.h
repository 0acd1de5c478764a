// Helpers shared by the naming tests: the macro tests' album fixture, short literals, expected
// relative names, and files made in scratch folders.
#pragma once

#include "macros/test_support.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

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
