// Times and durations as the log shows them.
#pragma once

#include <QDateTime>
#include <QString>

// The user's short date followed by the long time.
QString LogDateTimeText(const QDateTime &time);

// The whole seconds from start to end, truncated toward zero.
int LogElapsedSeconds(const QDateTime &start, const QDateTime &end);
