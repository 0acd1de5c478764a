// IPlugin: loading, unloading and locking of one library.
#include "plugins/iplugin.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "plugins/wavestream.h"

#include <QFileInfo>
#include <string_view>

// A plug-in built against the interface header names the entry point the loader calls.
static_assert(std::string_view(WAVESTREAM_ENTRY_POINT_NAME) == DynLibEntryPointName);
static_assert(WAVESTREAM_PROCESS_ATTACH == DynLibProcessAttach);
static_assert(WAVESTREAM_PROCESS_DETACH == DynLibProcessDetach);

IPlugin::IPlugin(const QString &path, bool withLock) {
  if (!QFileInfo(path).isFile())
    throw TError(str::Format(str::_err_s_PluginDllNotFound, {path}));
  path_ = path;
  Load();
  if (withLock)
    lock_ = std::make_unique<std::recursive_mutex>();
}

IPlugin::~IPlugin() {
  Unload();
}

void IPlugin::Load() {
  if (module_)
    return;
  module_ = DynLibLoad(path_);
  if (!module_)
    throw TError(str::Format(str::_err_s_PluginDllLoadError, {path_}));
}

void IPlugin::Unload() {
  if (!module_)
    return;
  DynLibUnload(module_);
  module_ = nullptr;
}

void IPlugin::Lock() {
  if (lock_)
    lock_->lock();
}

void IPlugin::Unlock() {
  if (lock_)
    lock_->unlock();
}

void *IPlugin::Symbol(const char *name) const {
  return DynLibSymbol(module_, name);
}
