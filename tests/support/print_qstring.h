// Force-included into every test file (cmake/QuarrowTargets.cmake). Lets GoogleTest show a QString
// in a failure as its text rather than as a list of UTF-16 units. Every test file of one executable
// that compares QStrings includes it, so they all print alike.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}
