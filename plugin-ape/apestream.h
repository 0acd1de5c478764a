// TAPEStream: the record a kplape stream handle points to.
#pragma once

#include "plugins/wavestream.h"

#include <cstdint>

inline constexpr char kAPEStreamTag[4] = {'A', 'P', 'E', 'W'};

enum TAPEStreamMode : uint8_t { APEStreamRead = 0, APEStreamWrite = 1 };

struct TAPEStream {
  uint16_t Size; // sizeof(TAPEStream); a handle is valid only when it matches
  char Tag[4];   // "APEW"
  void *Codec;   // the library's decompressor or compressor handle; null when it gave none
  uint8_t Mode;  // TAPEStreamMode
  WaveStreamFormat Format;
  int32_t TotalFrames; // read stream: the file's frames; write stream: frames written
  int32_t Position;
  // Write streams: the file being written, removed again when it cannot be completed.
  char *FileName;
  bool CreatedFile; // the file did not exist before CreateStream
  bool Failed;      // a Write failed: the file misses audio
};

// The record behind a handle, or null when the handle is not one of ours.
TAPEStream *ValidStream(WaveStreamHandle handle);
