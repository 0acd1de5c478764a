// TMACDll: the Monkey's Audio codec library as kplape uses it, looked up beside the plug-in
// first and then by name through the system's search path.
#pragma once

#include "apecodec/macdll.h"

#include <string>

struct TMACDll {
  void *Module = nullptr;
  proc_GetInterfaceCompatibility GetInterfaceCompatibility = nullptr;
  proc_GetVersionNumber GetVersionNumber = nullptr;
  proc_APEDecompress_Create DecompressCreate = nullptr;
  proc_APEDecompress_Destroy DecompressDestroy = nullptr;
  proc_APEDecompress_GetData DecompressGetData = nullptr;
  proc_APEDecompress_Seek DecompressSeek = nullptr;
  proc_APEDecompress_GetInfo DecompressGetInfo = nullptr;
  proc_APECompress_Create CompressCreate = nullptr;
  proc_APECompress_Destroy CompressDestroy = nullptr;
  proc_APECompress_Start CompressStart = nullptr;
  proc_APECompress_AddData CompressAddData = nullptr;
  proc_APECompress_Finish CompressFinish = nullptr;
  // The library's version from GetVersionNumber, 0 when it has none.
  int Version = 0;

  // Loads the library from `pluginDirectory`, else by name. True only when it was found,
  // declares itself compatible with interface 3990 and has all ten codec functions; otherwise
  // nothing stays loaded.
  bool Load(const std::string &pluginDirectory);
  void Free();
  bool IsLoaded() const { return Module != nullptr; }
};
