// Special folders through QStandardPaths.
#include "shared/specialfolder.h"

#include <QDir>
#include <QStandardPaths>

QString GetSpecialFolderPath(QObject *window, int folder) {
  (void)window;
  QStandardPaths::StandardLocation location;
  switch (folder) {
  case CSIDL_PERSONAL:
    location = QStandardPaths::DocumentsLocation;
    break;
  case CSIDL_LOCAL_APPDATA:
    location = QStandardPaths::GenericConfigLocation;
    break;
  default:
    return {};
  }
  const QString path = QStandardPaths::writableLocation(location);
  if (path.isEmpty() || !QDir().mkpath(path))
    return {};
  return QDir::cleanPath(path);
}
