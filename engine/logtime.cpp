// Log times in the user's locale.
#include "engine/logtime.h"

#include <QLocale>

QString LogDateTimeText(const QDateTime &time) {
  const QLocale locale;
  return locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(time.time(), QLocale::LongFormat);
}

int LogElapsedSeconds(const QDateTime &start, const QDateTime &end) {
  return static_cast<int>(start.msecsTo(end) / 1000);
}
