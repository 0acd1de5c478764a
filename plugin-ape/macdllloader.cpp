// Loading the codec library with dlopen and binding its functions by name.
#include "plugin-ape/macdllloader.h"

#include <dlfcn.h>

namespace {

template <typename F> bool Bind(void *module, F &fn, const char *name) {
  fn = reinterpret_cast<F>(dlsym(module, name));
  return fn != nullptr;
}

} // namespace

bool TMACDll::Load(const std::string &pluginDirectory) {
  Free();
  const std::string beside = pluginDirectory + "/" MACDLL_FILE_NAME;
  Module = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!Module)
    Module = dlopen(MACDLL_FILE_NAME, RTLD_NOW | RTLD_LOCAL);
  if (!Module)
    return false;

  bool complete = Bind(Module, GetInterfaceCompatibility, "GetInterfaceCompatibility");
  complete &= Bind(Module, DecompressCreate, "c_APEDecompress_Create");
  complete &= Bind(Module, DecompressDestroy, "c_APEDecompress_Destroy");
  complete &= Bind(Module, DecompressGetData, "c_APEDecompress_GetData");
  complete &= Bind(Module, DecompressSeek, "c_APEDecompress_Seek");
  complete &= Bind(Module, DecompressGetInfo, "c_APEDecompress_GetInfo");
  complete &= Bind(Module, CompressCreate, "c_APECompress_Create");
  complete &= Bind(Module, CompressDestroy, "c_APECompress_Destroy");
  complete &= Bind(Module, CompressStart, "c_APECompress_Start");
  complete &= Bind(Module, CompressAddData, "c_APECompress_AddData");
  complete &= Bind(Module, CompressFinish, "c_APECompress_Finish");
  if (!complete || GetInterfaceCompatibility(MAC_INTERFACE_VERSION, 1, nullptr) != 0) {
    Free();
    return false;
  }
  if (Bind(Module, GetVersionNumber, "GetVersionNumber"))
    Version = GetVersionNumber();
  return true;
}

void TMACDll::Free() {
  if (Module)
    dlclose(Module);
  *this = TMACDll();
}
