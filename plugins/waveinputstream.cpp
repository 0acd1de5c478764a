// TWaveInputStream: opening, reading and closing one input stream.
#include "plugins/waveinputstream.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "plugins/wavestreampi.h"

TWaveInputStream::TWaveInputStream(TWaveStreamPI *plugin, const QString &fileName) {
  if (!plugin)
    throw TError(str::_err_WSInvalidInputPlugin);
  plugin_ = plugin;
  try {
    handle_ = plugin_->OpenHandle(fileName, &Format);
  } catch (...) {
    throw TError(str::Format(str::_err_s_WSInputFileError, {fileName}));
  }
  SampleCount = plugin_->SampleCountOf(handle_);
}

TWaveInputStream::~TWaveInputStream() {
  if (plugin_ && handle_)
    plugin_->CloseHandle(handle_);
}

int TWaveInputStream::Read(void *buffer, int frames) {
  if (!plugin_ || !handle_)
    return -1;
  return plugin_->ReadHandle(handle_, buffer, frames);
}
