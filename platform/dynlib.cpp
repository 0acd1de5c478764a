// Dynamic libraries through dlopen / dlsym / dlclose, with the emulated entry point.
#include "platform/dynlib.h"

#include <QFile>
#include <dlfcn.h>
#include <map>
#include <mutex>

namespace {

using EntryPoint = int (*)(int reason);

// dlopen counts references itself but says nothing about the first load, so the entry point
// needs a count of its own: attach on the first reference, detach on the last.
std::mutex &ModulesLock() {
  static std::mutex lock;
  return lock;
}

std::map<void *, int> &ModuleRefs() {
  static std::map<void *, int> refs;
  return refs;
}

EntryPoint EntryPointOf(void *module) {
  return reinterpret_cast<EntryPoint>(dlsym(module, DynLibEntryPointName));
}

} // namespace

DynLibModule DynLibLoad(const QString &path) {
  if (path.isEmpty())
    return nullptr;
  const QByteArray name = QFile::encodeName(path);
  std::lock_guard guard(ModulesLock());
  void *module = dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
  if (!module)
    return nullptr;
  int &refs = ModuleRefs()[module];
  if (refs == 0) {
    if (EntryPoint entry = EntryPointOf(module)) {
      if (entry(DynLibProcessAttach) == 0) {
        // A refused attach is followed by a detach, as the Windows loader does.
        entry(DynLibProcessDetach);
        ModuleRefs().erase(module);
        dlclose(module);
        return nullptr;
      }
    }
  }
  ++refs;
  return module;
}

void *DynLibSymbol(DynLibModule module, const char *name) {
  if (!module || !name)
    return nullptr;
  return dlsym(module, name);
}

void DynLibUnload(DynLibModule module) {
  if (!module)
    return;
  std::lock_guard guard(ModulesLock());
  auto it = ModuleRefs().find(module);
  if (it == ModuleRefs().end())
    return;
  if (--it->second == 0) {
    ModuleRefs().erase(it);
    if (EntryPoint entry = EntryPointOf(module))
      entry(DynLibProcessDetach);
  }
  dlclose(module);
}
