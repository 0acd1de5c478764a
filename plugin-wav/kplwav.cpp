// kplwav: the wave-stream plug-in for RIFF WAVE files of integer PCM, input and output. No about
// or settings page.
//
// Handles are the addresses of the plug-in's stream objects and are recognised by looking them
// up in the set of live streams, so a foreign, stale or null handle is refused without ever
// being dereferenced. One lock guards that set and every stream call, so the plug-in is safe
// even for callers that do not serialise their calls.
#define WAVESTREAM_PLUGIN
#include "plugins/wavestream.h"

#include "plugin-wav/strwav.h"
#include "plugin-wav/wavstreams.h"

#include <cstring>
#include <mutex>
#include <set>

namespace {

constexpr std::uint16_t kVersion = 100;

std::mutex &StreamsLock() {
  static std::mutex lock;
  return lock;
}

std::set<TWavStream *> &Streams() {
  static std::set<TWavStream *> streams;
  return streams;
}

template <std::size_t N> void CopyText(char (&field)[N], const char *text) {
  std::strncpy(field, text, N - 1);
  field[N - 1] = '\0';
}

// The stream behind h, or null when h is not a live handle of this plug-in. Call with the lock.
TWavStream *StreamOf(WaveStreamHandle h) {
  auto *stream = static_cast<TWavStream *>(h);
  return Streams().count(stream) ? stream : nullptr;
}

template <typename T> T *StreamAs(WaveStreamHandle h) {
  return dynamic_cast<T *>(StreamOf(h));
}

WaveStreamHandle Register(std::unique_ptr<TWavStream> stream) {
  if (!stream)
    return nullptr;
  Streams().insert(stream.get());
  return stream.release();
}

// Runs body under the lock; whatever it throws becomes the failure value.
template <typename R, typename Body> R Guarded(R failure, Body body) {
  try {
    std::lock_guard guard(StreamsLock());
    return body();
  } catch (...) {
    return failure;
  }
}

} // namespace

WAVESTREAM_EXPORT void WAVESTREAM_CALL GetCaps(WaveStreamCaps *caps) {
  if (!caps)
    return;
  std::memset(caps, 0, sizeof *caps);
  CopyText(caps->name, strwav::_wav_PluginName);
  caps->version = kVersion;
  caps->flags = 0;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetFileTypeCount(void) {
  return 1;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetFileTypeInfo(int index, WaveStreamFileType *type) {
  if (!type || index != 0)
    return 0;
  std::memset(type, 0, sizeof *type);
  CopyText(type->description, strwav::_wav_FileTypeDescription);
  CopyText(type->extension, strwav::_wav_FileTypeExtension);
  type->flags = WAVESTREAM_TYPE_INPUT | WAVESTREAM_TYPE_OUTPUT;
  return 1;
}

WAVESTREAM_EXPORT WaveStreamHandle WAVESTREAM_CALL OpenStream(const char *fileName,
                                                              WaveStreamFormat *format) {
  if (!fileName || !*fileName)
    return nullptr;
  return Guarded<WaveStreamHandle>(nullptr, [&]() -> WaveStreamHandle {
    std::unique_ptr<TWavReader> reader = TWavReader::Open(fileName);
    if (reader && format)
      *format = reader->Format();
    return Register(std::move(reader));
  });
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL Seek(WaveStreamHandle h, uint32_t position) {
  return Guarded(-1, [&] {
    TWavReader *reader = StreamAs<TWavReader>(h);
    return reader && reader->Seek(position) ? reader->Position() : -1;
  });
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL Read(WaveStreamHandle h, void *buffer, int frames) {
  return Guarded(-1, [&] {
    TWavReader *reader = StreamAs<TWavReader>(h);
    if (!reader || (!buffer && frames > 0))
      return -1;
    return reader->Read(buffer, frames);
  });
}

WAVESTREAM_EXPORT WaveStreamHandle WAVESTREAM_CALL CreateStream(const char *fileName,
                                                                const WaveStreamFormat *format,
                                                                int overwrite) {
  if (!fileName || !*fileName || !format)
    return nullptr;
  return Guarded<WaveStreamHandle>(
      nullptr, [&] { return Register(TWavWriter::Create(fileName, *format, overwrite != 0)); });
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL Write(WaveStreamHandle h, const void *buffer, int frames) {
  return Guarded(-1, [&] {
    TWavWriter *writer = StreamAs<TWavWriter>(h);
    return writer ? writer->Write(buffer, frames) : -1;
  });
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL CloseStream(WaveStreamHandle h) {
  return Guarded(0, [&] {
    TWavStream *stream = StreamOf(h);
    if (!stream)
      return 0;
    Streams().erase(stream);
    delete stream;
    return 1;
  });
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetWaveFormat(WaveStreamHandle h, WaveStreamFormat *format) {
  return Guarded(0, [&] {
    TWavStream *stream = StreamOf(h);
    if (!stream || !format)
      return 0;
    *format = stream->Format();
    return 1;
  });
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetSampleCount(WaveStreamHandle h) {
  return Guarded(-1, [&] {
    TWavStream *stream = StreamOf(h);
    return stream ? stream->SampleCount() : -1;
  });
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetPosition(WaveStreamHandle h) {
  return Guarded(-1, [&] {
    TWavStream *stream = StreamOf(h);
    return stream ? stream->Position() : -1;
  });
}

// Streams a caller forgot to close are completed and released when the library goes away.
WAVESTREAM_EXPORT int WAVESTREAM_CALL DllProcessEntry(int reason) {
  if (reason == WAVESTREAM_PROCESS_DETACH) {
    Guarded(0, [] {
      for (TWavStream *stream : Streams())
        delete stream;
      Streams().clear();
      return 0;
    });
  }
  return 1;
}
