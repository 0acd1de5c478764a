// TAPEDecoder: one Monkey's Audio file decoded through FFmpeg, block-exact: the total the file
// declares, seeking to any block, interleaved PCM in the file's own bit depth.
#pragma once

#include "apecodec/macdll.h"

#include <cstdint>
#include <cstdio>

struct AVFormatContext;
struct AVIOContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;

class TAPEDecoder {
public:
  TAPEDecoder() = default;
  ~TAPEDecoder();
  TAPEDecoder(const TAPEDecoder &) = delete;
  TAPEDecoder &operator=(const TAPEDecoder &) = delete;

  // Opens the file and checks that it is a Monkey's Audio file whose audio is there and
  // decodes; APE_ERROR_SUCCESS or the error code. Positioned at block 0 afterwards.
  int Open(const char *fileName);

  const APE_WAVEFORMATEX &Format() const { return format_; }
  std::int64_t TotalBlocks() const { return total_; }
  std::int64_t CurrentBlock() const { return position_; }
  int FileVersion() const { return fileVersion_; }
  int CompressionLevel() const { return compressionLevel_; }

  // Moves to `block` (0 to TotalBlocks() - 1): the decoder restarts at the APE frame that holds
  // the block and drops the blocks before it.
  int Seek(std::int64_t block);

  // Up to `blocks` blocks into `buffer`; `retrieved` is what was delivered (0 at the end). A
  // file that ends before its declared total is an error, as is any frame that fails to decode;
  // after an error every call fails the same way until a Seek starts afresh.
  int GetData(char *buffer, std::int64_t blocks, std::int64_t &retrieved);

private:
  int OpenContainer(const char *fileName);
  int OpenCodec();
  // The next decoded frame into frame_: APE_ERROR_SUCCESS, kEndOfStream or an error code.
  int NextFrame();
  void CopyBlocks(int first, int count, char *out) const;

  static constexpr int kEndOfStream = 1;

  std::FILE *file_ = nullptr;
  std::int64_t fileSize_ = 0;
  AVIOContext *io_ = nullptr;
  AVFormatContext *container_ = nullptr;
  AVCodecContext *codec_ = nullptr;
  AVPacket *packet_ = nullptr;
  AVFrame *frame_ = nullptr;
  int streamIndex_ = 0;

  APE_WAVEFORMATEX format_{};
  int fileVersion_ = 0;
  int compressionLevel_ = 0;
  std::int64_t total_ = 0;
  std::int64_t firstFrameBlocks_ = 0;

  std::int64_t position_ = 0; // block the next GetData delivers
  int frameOffset_ = 0;       // first block of frame_ not yet delivered
  std::int64_t skip_ = 0;     // blocks still to drop after a seek
  bool drained_ = false;      // the decoder was told that no packet follows
  int failure_ = 0;           // the error that stopped decoding; sticks until the next Seek
};
