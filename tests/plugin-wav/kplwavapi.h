// The exports of the built kplwav.kpl, resolved by name the way the host does it.
#pragma once

#include "plugins/wavestream.h"

#include <dlfcn.h>

struct TKplwav {
  TKplwav() : module(dlopen(QUARROW_PLUGIN_DIR "/kplwav.kpl", RTLD_NOW | RTLD_LOCAL)) {
    Resolve(GetCaps, "GetCaps");
    Resolve(GetFileTypeCount, "GetFileTypeCount");
    Resolve(GetFileTypeInfo, "GetFileTypeInfo");
    Resolve(OpenStream, "OpenStream");
    Resolve(Seek, "Seek");
    Resolve(Read, "Read");
    Resolve(CreateStream, "CreateStream");
    Resolve(Write, "Write");
    Resolve(CloseStream, "CloseStream");
    Resolve(GetWaveFormat, "GetWaveFormat");
    Resolve(GetSampleCount, "GetSampleCount");
    Resolve(GetPosition, "GetPosition");
  }
  ~TKplwav() {
    if (module)
      dlclose(module);
  }
  TKplwav(const TKplwav &) = delete;
  TKplwav &operator=(const TKplwav &) = delete;

  // Whether the library loaded and has every export the interface requires of it.
  bool Complete() const {
    return module && GetCaps && GetFileTypeCount && GetFileTypeInfo && OpenStream && Seek && Read &&
           CreateStream && Write && CloseStream && GetWaveFormat && GetSampleCount && GetPosition;
  }
  void *Symbol(const char *name) const { return module ? dlsym(module, name) : nullptr; }

  void *module;
  WaveStreamGetCapsFn GetCaps = nullptr;
  WaveStreamGetFileTypeCountFn GetFileTypeCount = nullptr;
  WaveStreamGetFileTypeInfoFn GetFileTypeInfo = nullptr;
  WaveStreamOpenStreamFn OpenStream = nullptr;
  WaveStreamSeekFn Seek = nullptr;
  WaveStreamReadFn Read = nullptr;
  WaveStreamCreateStreamFn CreateStream = nullptr;
  WaveStreamWriteFn Write = nullptr;
  WaveStreamCloseStreamFn CloseStream = nullptr;
  WaveStreamGetWaveFormatFn GetWaveFormat = nullptr;
  WaveStreamGetSampleCountFn GetSampleCount = nullptr;
  WaveStreamGetPositionFn GetPosition = nullptr;

private:
  template <typename Fn> void Resolve(Fn &fn, const char *name) {
    fn = reinterpret_cast<Fn>(Symbol(name));
  }
};
