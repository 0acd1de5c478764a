// Reading the naming settings under the settings read lock; see namingsettings.h.
#include "naming/namingsettings.h"

#include "settings/settings.h"

TDirNameSettings ReadDirNameSettings(TSettings &settings) {
  TSettingsReadGuard guard(settings.Lock());
  return {settings.OutputMP3DirSelection, settings.OutputMP3DirName, settings.MP3DirNameReplace,
          settings.DirNameReplaceInfo};
}

TFileNameSettings ReadFileNameSettings(TSettings &settings) {
  TSettingsReadGuard guard(settings.Lock());
  return {settings.OutputFileName, settings.CharMap, settings.AddSuffixOnExistFile};
}

TTagListSettings ReadTagListSettings(TSettings &settings) {
  TSettingsReadGuard guard(settings.Lock());
  return {settings.UseTagInfo, settings.TagList};
}

TID3TagBuildSettings ReadID3TagBuildSettings(TSettings &settings) {
  TSettingsReadGuard guard(settings.Lock());
  return {settings.TagNoEmptyTag};
}

bool ReadAddSuffixOnExistDir(TSettings &settings) {
  TSettingsReadGuard guard(settings.Lock());
  return settings.AddSuffixOnExistDir;
}
