// The one setting of kplape, the compression level used when writing: its table of levels and
// where it is stored.
#pragma once

#include <QString>

// Number of compression levels: the slider runs from 0 to kCompressionLevelCount - 1.
inline constexpr int kCompressionLevelCount = 5;
inline constexpr int kDefaultCompressionLevel = 1;

// The value handed to the codec library: 1000 to 4000 for indexes 0 to 3; any other index, the
// highest level (5000).
int CompressionLevelValue(int index);

// The name shown for an index of 0 to 4; indexes outside are clamped to that range.
QString CompressionLevelName(int index);

// The index clamped to the slider's range.
int ClampCompressionLevel(int index);

// The settings directory: the local application data folder followed by the plug-in's own
// subfolder, with a trailing separator; made when missing. Empty when it cannot be made.
QString SettingsDirectory();

// The settings file of the plug-in file `pluginPath` inside `directory`: its file name with the
// extension ".ini" (kplape.kpl: kplape.ini).
QString SettingsFilePath(const QString &directory, const QString &pluginPath);

int LoadCompressionLevel(const QString &settingsFile);
bool SaveCompressionLevel(const QString &settingsFile, int level);
