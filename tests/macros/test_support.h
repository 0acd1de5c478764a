// Helpers shared by the macro tests: readable QString output in failure messages, and a
// cue-sheet-like pair of macro tables registered the way the cue reader registers them.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
  *os << '"' << s.toStdString() << '"';
}
