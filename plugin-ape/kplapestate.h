// The state of the loaded plug-in: its own path, its setting and the codec library. Shared by
// the entry point, the stream functions and the dialog exports.
#pragma once

#include "plugin-ape/macdllloader.h"

#include <QString>
#include <atomic>
#include <string>

struct TKplApeState {
  std::string PluginPath;
  QString SettingsFile;
  // Written by the dialog in the user-interface thread, read by CreateStream under the host's
  // plug-in lock.
  std::atomic<int> CompressionLevel{1};
  TMACDll Mac;
  // Successful attaches not yet matched by a detach.
  int Attached = 0;
};

TKplApeState &KplApe();
