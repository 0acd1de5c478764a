// The streams behind the plug-in's handles: a WAV file open for reading and one being written.
#pragma once

#include "plugin-wav/wavlayout.h"
#include "plugins/wavestream.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class TWavStream {
public:
  virtual ~TWavStream() = default;
  const WaveStreamFormat &Format() const { return format_; }
  virtual bool IsWriter() const = 0;
  virtual int SampleCount() const = 0;
  virtual int Position() const = 0;

protected:
  WaveStreamFormat format_{};
};

class TWavReader final : public TWavStream {
public:
  // Null when fileName is not a regular file this plug-in decodes.
  static std::unique_ptr<TWavReader> Open(const char *fileName);
  ~TWavReader() override;

  bool IsWriter() const override { return false; }
  int SampleCount() const override { return layout_.Frames; }
  int Position() const override { return position_; }

  // Moves to position (below SampleCount); false leaves the position alone.
  bool Seek(std::uint32_t position);
  // Frames delivered into buffer, 0 at the end, -1 when the file fails to deliver.
  int Read(void *buffer, int frames);

private:
  TWavReader(std::FILE *file, const TWavLayout &layout);

  std::FILE *file_;
  TWavLayout layout_;
  int position_ = 0;
};

class TWavWriter final : public TWavStream {
public:
  // Null, creating nothing, when the format is not one it writes or (overwrite false) the file
  // exists; null too when the file cannot be created.
  static std::unique_ptr<TWavWriter> Create(const char *fileName, const WaveStreamFormat &format,
                                            bool overwrite);
  // Completes the file: pad byte and sizes. A file that could not be written whole is removed,
  // so that nothing half-written is left looking like a good file.
  ~TWavWriter() override;

  bool IsWriter() const override { return true; }
  int SampleCount() const override { return frames_; }
  int Position() const override { return frames_; }

  // frames on success, -1 when the file cannot take them.
  int Write(const void *buffer, int frames);

private:
  TWavWriter(std::FILE *file, std::string fileName, const WaveStreamFormat &format);
  bool Complete();

  std::FILE *file_;
  std::string fileName_;
  std::uint64_t dataBytes_ = 0;
  int frames_ = 0;
  bool failed_ = false;
};
