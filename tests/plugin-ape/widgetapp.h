// For the test executables that show kplape's dialog: the widget application they need, and
// the leak checker told about fontconfig, whose font cache (made the first time Qt lays out
// text) lives until the process ends by design. Include it in one file per executable.
#pragma once

#include <QApplication>

inline void EnsureWidgetApplication() {
  static int argc = 1;
  static char name[] = "kplape-test";
  static char *argv[] = {name, nullptr};
  if (!QApplication::instance())
    new QApplication(argc, argv);
}

extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
