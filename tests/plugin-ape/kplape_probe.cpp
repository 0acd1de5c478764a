// A helper process for the tests that need their own library search path (LD_LIBRARY_PATH is
// read only when a process starts): loads the plug-in given as the first argument through the
// entry-point convention and, when it loads and a file is given, decodes that file.
// Prints "attach <result>" and "frames <total> <read>"; exits 0 when the plug-in loaded.
#include "plugin-ape/kplapeloader.h"

#include <cstdio>
#include <vector>

int main(int argc, char **argv) {
  if (argc < 2)
    return 2;
  void *module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    std::printf("dlopen failed: %s\n", dlerror());
    return 3;
  }
  auto entry = reinterpret_cast<WaveStreamEntryPointFn>(dlsym(module, WAVESTREAM_ENTRY_POINT_NAME));
  auto open = reinterpret_cast<WaveStreamOpenStreamFn>(dlsym(module, "OpenStream"));
  auto read = reinterpret_cast<WaveStreamReadFn>(dlsym(module, "Read"));
  auto count = reinterpret_cast<WaveStreamGetSampleCountFn>(dlsym(module, "GetSampleCount"));
  auto close = reinterpret_cast<WaveStreamCloseStreamFn>(dlsym(module, "CloseStream"));
  if (!entry || !open || !read || !count || !close)
    return 4;
  const int attached = entry(WAVESTREAM_PROCESS_ATTACH);
  std::printf("attach %d\n", attached);
  if (attached && argc > 2) {
    WaveStreamFormat format;
    WaveStreamHandle h = open(argv[2], &format);
    if (h) {
      std::vector<char> buffer(4096 * format.blockAlign);
      long long frames = 0;
      int got;
      while ((got = read(h, buffer.data(), 4096)) > 0)
        frames += got;
      std::printf("frames %d %lld\n", count(h), frames);
      close(h);
    } else {
      std::printf("open failed\n");
    }
  }
  entry(WAVESTREAM_PROCESS_DETACH);
  dlclose(module);
  return attached ? 0 : 1;
}
