// Directory listing for the cue-sheet list.
#include "engine/cuelist.h"

#include <QDir>
#include <QFileInfo>

QStringList ListCueSheets(const QString &home, const QString &relativeDir) {
  const QString prefix = relativeDir.isEmpty() ? QString() : relativeDir + QDir::separator();
  const QDir dir(QDir(home).filePath(relativeDir));
  QStringList cues;
  QStringList subdirs;
  const QFileInfoList entries = dir.entryInfoList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
  for (const QFileInfo &entry : entries) {
    if (entry.isDir()) {
      subdirs.append(entry.fileName());
    } else if (entry.suffix().compare(QLatin1String("cue"), Qt::CaseInsensitive) == 0) {
      cues.append(prefix + entry.fileName());
    }
  }
  for (const QString &sub : subdirs) {
    cues.append(ListCueSheets(home, prefix + sub));
  }
  return cues;
}

bool IsUsableCueFile(const QString &path) {
  const QFileInfo info(path);
  return info.isFile() && path.endsWith(QLatin1String(".cue"), Qt::CaseSensitive);
}
