// The layout of a RIFF WAVE file of integer PCM: where its sample frames are and how they are
// shaped, as read from its header.
#pragma once

#include "plugins/wavestream.h"

#include <cstdint>
#include <cstdio>

struct TWavLayout {
  // As the plug-in reports it: format tag 1, size 18, whatever the file's own tag was.
  WaveStreamFormat Format{};
  std::uint64_t DataOffset = 0; // file offset of frame 0
  int Frames = 0;               // whole frames present in the file
};

// Reads the header of file, whose size is fileSize bytes. False when it is not a RIFF WAVE file
// of 8-, 16-, 24- or 32-bit integer PCM (WAVE_FORMAT_EXTENSIBLE with the PCM sub-format counts)
// or its header is damaged. Chunks may come in any order; odd-sized chunks are padded. A data
// size of 0 or 0xFFFFFFFF (a streamed file), or one beyond the end of the file, means the data
// runs to the end of the file.
bool ReadWavLayout(std::FILE *file, std::uint64_t fileSize, TWavLayout &layout);

// The format record of a stream this plug-in can write, and of a file it can read back.
bool IsWritableWavFormat(const WaveStreamFormat &format);
