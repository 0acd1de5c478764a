// IPlugin: a dynamic library loaded by its full path, with an optional lock that serialises
// every call into it.
#pragma once

#include "platform/dynlib.h"

#include <QString>
#include <memory>
#include <mutex>

class IPlugin {
public:
  // Raises _err_s_PluginDllNotFound when no file exists at path, _err_s_PluginDllLoadError when
  // the library cannot be loaded (or refuses to load). withLock creates the lock.
  IPlugin(const QString &path, bool withLock);
  virtual ~IPlugin();

  IPlugin(const IPlugin &) = delete;
  IPlugin &operator=(const IPlugin &) = delete;

  // Loads the library when it is not loaded; raises _err_s_PluginDllLoadError on failure.
  void Load();
  // Unloads the library when it is loaded.
  void Unload();

  // Enter and leave the lock; nothing when there is none. Re-entrant, like a critical section.
  void Lock();
  void Unlock();

  const QString &Path() const { return path_; }
  DynLibModule Module() const { return module_; }

protected:
  // The address of an export of the loaded module, or null.
  void *Symbol(const char *name) const;

private:
  QString path_;
  DynLibModule module_ = nullptr;
  std::unique_ptr<std::recursive_mutex> lock_;
};

// Holds a plug-in's lock for one scope.
class TPluginLock {
public:
  explicit TPluginLock(IPlugin &plugin) : plugin_(plugin) { plugin_.Lock(); }
  ~TPluginLock() { plugin_.Unlock(); }
  TPluginLock(const TPluginLock &) = delete;
  TPluginLock &operator=(const TPluginLock &) = delete;

private:
  IPlugin &plugin_;
};
