// The compression level table and the settings file of kplape.
#include "plugin-ape/apesettings.h"

#include "plugin-ape/apeini.h"
#include "plugin-ape/strape.h"
#include "shared/specialfolder.h"

#include <QDir>
#include <QFileInfo>

int CompressionLevelValue(int index) {
  static constexpr int values[] = {1000, 2000, 3000, 4000};
  return index >= 0 && index < 4 ? values[index] : 5000;
}

int ClampCompressionLevel(int index) {
  return qBound(0, index, kCompressionLevelCount - 1);
}

QString CompressionLevelName(int index) {
  const QString *names[] = {&strape::_txt_level_fast, &strape::_txt_level_normal,
                            &strape::_txt_level_high, &strape::_txt_level_extra,
                            &strape::_txt_level_insane};
  return *names[ClampCompressionLevel(index)];
}

QString SettingsDirectory() {
  const QString base = GetSpecialFolderPath(nullptr, CSIDL_LOCAL_APPDATA);
  if (base.isEmpty())
    return QString();
  const QString directory = base + QLatin1Char('/') + strape::_cmd_userprof_path;
  if (!QDir().mkpath(directory))
    return QString();
  return directory;
}

QString SettingsFilePath(const QString &directory, const QString &pluginPath) {
  return directory + QFileInfo(pluginPath).completeBaseName() + strape::_cmd_ini_extension;
}

int LoadCompressionLevel(const QString &settingsFile) {
  return ReadIniInteger(settingsFile, strape::_cmd_ini_section, strape::_cmd_ini_compressionlevel,
                        kDefaultCompressionLevel);
}

bool SaveCompressionLevel(const QString &settingsFile, int level) {
  return WriteIniInteger(settingsFile, strape::_cmd_ini_section, strape::_cmd_ini_compressionlevel,
                         level);
}
