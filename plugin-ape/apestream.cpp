// The stream exports of kplape: reading through the codec library's decompressor, writing
// through its compressor. Every failure is a return value; nothing throws across the boundary.
#define WAVESTREAM_PLUGIN
#include "plugins/wavestream.h"

#include "plugin-ape/apesettings.h"
#include "plugin-ape/apestream.h"
#include "plugin-ape/kplapestate.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool FileExists(const char *fileName) {
  struct stat info;
  return stat(fileName, &info) == 0;
}

bool IsValidFormat(const WaveStreamFormat &format) {
  return format.blockAlign > 0 && format.bitsPerSample * format.channels == format.blockAlign * 8;
}

TAPEStream *NewStream(TAPEStreamMode mode) {
  auto *stream = static_cast<TAPEStream *>(std::calloc(1, sizeof(TAPEStream)));
  if (!stream)
    return nullptr;
  stream->Size = sizeof(TAPEStream);
  std::memcpy(stream->Tag, kAPEStreamTag, sizeof stream->Tag);
  stream->Mode = mode;
  return stream;
}

// Ends the codec's work and frees the record. A write stream whose file cannot be completed
// does not leave that file behind looking like a good one.
void FreeStream(TAPEStream *stream, bool finish) {
  const TMACDll &mac = KplApe().Mac;
  bool complete = !stream->Failed;
  if (stream->Codec && mac.IsLoaded()) {
    if (stream->Mode == APEStreamWrite) {
      if (finish)
        complete = mac.CompressFinish(stream->Codec, nullptr, 0, 0) == 0 && complete;
      mac.CompressDestroy(stream->Codec);
    } else {
      mac.DecompressDestroy(stream->Codec);
    }
  }
  if (stream->Mode == APEStreamWrite && stream->FileName &&
      (finish ? !complete : stream->CreatedFile))
    unlink(stream->FileName);
  std::free(stream->FileName);
  std::memset(stream->Tag, 0, sizeof stream->Tag);
  std::free(stream);
}

} // namespace

TAPEStream *ValidStream(WaveStreamHandle handle) {
  auto *stream = static_cast<TAPEStream *>(handle);
  if (!stream || stream->Size != sizeof(TAPEStream) ||
      std::memcmp(stream->Tag, kAPEStreamTag, sizeof stream->Tag) != 0)
    return nullptr;
  return stream;
}

WaveStreamHandle WAVESTREAM_CALL OpenStream(const char *fileName, WaveStreamFormat *format) {
  const TMACDll &mac = KplApe().Mac;
  if (!fileName || !*fileName || !FileExists(fileName) || !mac.IsLoaded())
    return nullptr;
  TAPEStream *stream = NewStream(APEStreamRead);
  if (!stream)
    return nullptr;
  int error = 0;
  stream->Codec = mac.DecompressCreate(fileName, &error);
  bool ok = stream->Codec != nullptr &&
            mac.DecompressGetInfo(stream->Codec, APE_INFO_WAVEFORMATEX,
                                  reinterpret_cast<ape_intn>(&stream->Format), 0) == 0;
  if (ok) {
    // The library reports WAVEFORMATEX with no extra bytes; the record's size field is ours.
    stream->Format.size = WAVESTREAM_FORMAT_SIZE;
    const ape_intn total = mac.DecompressGetInfo(stream->Codec, APE_DECOMPRESS_TOTAL_BLOCKS, 0, 0);
    ok = IsValidFormat(stream->Format) && total >= 0 && total <= INT32_MAX;
    stream->TotalFrames = static_cast<int32_t>(total);
  }
  if (!ok) {
    FreeStream(stream, false);
    return nullptr;
  }
  if (format)
    *format = stream->Format;
  Seek(stream, 0);
  return stream;
}

int WAVESTREAM_CALL Seek(WaveStreamHandle h, uint32_t position) {
  TAPEStream *stream = ValidStream(h);
  if (!stream || stream->Mode != APEStreamRead ||
      position >= static_cast<uint32_t>(stream->TotalFrames))
    return -1;
  KplApe().Mac.DecompressSeek(stream->Codec, static_cast<ape_intn>(position));
  stream->Position = static_cast<int32_t>(position);
  return stream->Position;
}

int WAVESTREAM_CALL Read(WaveStreamHandle h, void *buffer, int frames) {
  TAPEStream *stream = ValidStream(h);
  if (!stream || stream->Mode != APEStreamRead || !buffer)
    return -1;
  if (static_cast<uint32_t>(stream->Position) >= static_cast<uint32_t>(stream->TotalFrames) ||
      frames <= 0)
    return 0;
  ape_intn got = 0;
  if (KplApe().Mac.DecompressGetData(stream->Codec, static_cast<char *>(buffer), frames, &got) !=
          0 ||
      got < 0 || got > frames)
    return -1;
  stream->Position += static_cast<int32_t>(got);
  return static_cast<int>(got);
}

WaveStreamHandle WAVESTREAM_CALL CreateStream(const char *fileName, const WaveStreamFormat *format,
                                              int overwrite) {
  const TMACDll &mac = KplApe().Mac;
  if (!fileName || !*fileName || !format || format->size != WAVESTREAM_FORMAT_SIZE ||
      !IsValidFormat(*format) || !mac.IsLoaded())
    return nullptr;
  const bool existed = FileExists(fileName);
  if (!overwrite && existed)
    return nullptr;
  TAPEStream *stream = NewStream(APEStreamWrite);
  if (!stream)
    return nullptr;
  stream->Format = *format;
  stream->FileName = strdup(fileName);
  stream->CreatedFile = !existed;
  int error = 0;
  if (stream->FileName)
    stream->Codec = mac.CompressCreate(&error);
  // The library writes the WAV header itself; the level is read now, so a change in the dialog
  // applies to streams created afterwards.
  if (!stream->Codec ||
      mac.CompressStart(stream->Codec, fileName, reinterpret_cast<const APE_WAVEFORMATEX *>(format),
                        -1, CompressionLevelValue(KplApe().CompressionLevel.load()), nullptr,
                        -1) != 0) {
    FreeStream(stream, false);
    return nullptr;
  }
  stream->CreatedFile = true; // from here on the file is ours, whatever was there before
  return stream;
}

int WAVESTREAM_CALL Write(WaveStreamHandle h, const void *buffer, int frames) {
  TAPEStream *stream = ValidStream(h);
  if (!stream || stream->Mode != APEStreamWrite || frames < 0 || (frames > 0 && !buffer) ||
      frames > INT_MAX / stream->Format.blockAlign || frames > INT32_MAX - stream->TotalFrames)
    return -1;
  if (frames == 0)
    return 0;
  const int bytes = frames * stream->Format.blockAlign;
  if (KplApe().Mac.CompressAddData(
          stream->Codec, static_cast<unsigned char *>(const_cast<void *>(buffer)), bytes) != 0) {
    stream->Failed = true;
    return -1;
  }
  stream->TotalFrames += frames;
  stream->Position = stream->TotalFrames;
  return frames;
}

int WAVESTREAM_CALL CloseStream(WaveStreamHandle h) {
  TAPEStream *stream = ValidStream(h);
  if (!stream)
    return 0;
  FreeStream(stream, true);
  return 1;
}

int WAVESTREAM_CALL GetWaveFormat(WaveStreamHandle h, WaveStreamFormat *format) {
  TAPEStream *stream = ValidStream(h);
  if (!stream || !format)
    return 0;
  *format = stream->Format;
  return 1;
}

int WAVESTREAM_CALL GetSampleCount(WaveStreamHandle h) {
  const TAPEStream *stream = ValidStream(h);
  return stream ? stream->TotalFrames : -1;
}

int WAVESTREAM_CALL GetPosition(WaveStreamHandle h) {
  const TAPEStream *stream = ValidStream(h);
  return stream ? stream->Position : -1;
}
