// TWaveInputStream: one file open for reading through a plug-in, read forward from frame 0.
// Deleting it closes the plug-in's handle; it must be deleted before the plug-in is.
#pragma once

#include "plugins/wavestream.h"

#include <QString>

class TWaveStreamPI;

class TWaveInputStream {
public:
  // Opens fileName through plugin. Raises _err_WSInvalidInputPlugin when plugin is null and
  // _err_s_WSInputFileError (with fileName) when the plug-in cannot open the file.
  TWaveInputStream(TWaveStreamPI *plugin, const QString &fileName);
  ~TWaveInputStream();

  TWaveInputStream(const TWaveInputStream &) = delete;
  TWaveInputStream &operator=(const TWaveInputStream &) = delete;

  // Reads up to frames sample frames into buffer (frames * Format.blockAlign bytes). The frames
  // delivered, 0 at the end, -1 when the handle is closed or the plug-in fails. Never raises.
  int Read(void *buffer, int frames);

  TWaveStreamPI *Plugin() const { return plugin_; }
  WaveStreamHandle Handle() const { return handle_; }

  // The format the plug-in reported when it opened the file.
  WaveStreamFormat Format{};
  // Total sample frames as reported right after opening; -1 when the plug-in gave no count.
  int SampleCount = -1;

private:
  TWaveStreamPI *plugin_ = nullptr;
  WaveStreamHandle handle_ = nullptr;
};
