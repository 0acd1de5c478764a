// The cue-line tokenizer.
#include "cuesheet/splitcueline.h"

namespace {

// Codes 1..32 separate tokens. A NUL byte, which only a damaged file holds, separates them too,
// so that it can never stall the scan.
bool isBlank(QChar c) {
  return c.unicode() <= 32;
}

} // namespace

QStringList SplitCueLine(const QString &line, QChar delimiter) {
  QStringList tokens;
  const qsizetype n = line.size();
  qsizetype i = 0;
  while (i < n && isBlank(line[i]))
    ++i;
  while (i < n) {
    QString token;
    if (line[i] == QLatin1Char('"')) {
      ++i;
      while (i < n) {
        if (line[i] == QLatin1Char('"')) {
          if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
            token += QLatin1Char('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        token += line[i++];
      }
    } else {
      const qsizetype start = i;
      while (i < n && line[i].unicode() > 32 && line[i] != delimiter)
        ++i;
      token = line.mid(start, i - start);
    }
    tokens.append(token);
    while (i < n && isBlank(line[i]))
      ++i;
    if (i < n && line[i] == delimiter) {
      ++i;
      while (i < n && isBlank(line[i]))
        ++i;
      if (i >= n)
        tokens.append(QString());
    }
  }
  return tokens;
}
