// The encoder found on PATH.
#include "settings/lamepath.h"

#include <QStandardPaths>

QString FindLamePath() {
  return QStandardPaths::findExecutable(QStringLiteral("lame"));
}
