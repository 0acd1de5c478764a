// Decoding through libavformat's APE demuxer and libavcodec's APE decoder. The file is read
// through our own I/O callbacks, so that a file name is never taken for a URL or a protocol.
#include "apecodec/apedecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>

namespace {

constexpr int kIoBufferSize = 64 * 1024;

int ReadCallback(void *opaque, uint8_t *buffer, int size) {
  const size_t got = std::fread(buffer, 1, static_cast<size_t>(size), static_cast<FILE *>(opaque));
  if (got == 0)
    return std::ferror(static_cast<FILE *>(opaque)) ? AVERROR(EIO) : AVERROR_EOF;
  return static_cast<int>(got);
}

int64_t SeekCallback(void *opaque, int64_t offset, int whence) {
  FILE *file = static_cast<FILE *>(opaque);
  if (whence & AVSEEK_SIZE) {
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0)
      return AVERROR(EIO);
    const off_t size = ftello(file);
    if (fseeko(file, here, SEEK_SET) != 0)
      return AVERROR(EIO);
    return size;
  }
  if (fseeko(file, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE) != 0)
    return AVERROR(EIO);
  return ftello(file);
}

// The library speaks through its error codes; FFmpeg's own diagnostics would only land on the
// host program's standard error.
void QuietFFmpeg() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

bool IsSupportedDepth(int bits) {
  return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

TAPEDecoder::~TAPEDecoder() {
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  avcodec_free_context(&codec_);
  avformat_close_input(&container_);
  if (io_) {
    av_freep(&io_->buffer);
    avio_context_free(&io_);
  }
  if (file_)
    std::fclose(file_);
}

int TAPEDecoder::Open(const char *fileName) {
  if (!fileName || !*fileName)
    return APE_ERROR_INVALID_FUNCTION_PARAMETER;
  QuietFFmpeg();
  int result = OpenContainer(fileName);
  if (result == APE_ERROR_SUCCESS)
    result = OpenCodec();
  if (result != APE_ERROR_SUCCESS)
    return result;
  // A header that promises audio is not enough: the whole first APE frame must be there and
  // decode with a matching CRC.
  for (std::int64_t decoded = 0; decoded < firstFrameBlocks_; decoded += frame_->nb_samples) {
    result = NextFrame();
    if (result == kEndOfStream)
      return APE_ERROR_INVALID_INPUT_FILE;
    if (result != APE_ERROR_SUCCESS)
      return result;
  }
  return Seek(0);
}

int TAPEDecoder::OpenContainer(const char *fileName) {
  file_ = std::fopen(fileName, "rb");
  if (!file_)
    return APE_ERROR_INVALID_INPUT_FILE;
  if (fseeko(file_, 0, SEEK_END) != 0 || (fileSize_ = ftello(file_)) < 0 ||
      fseeko(file_, 0, SEEK_SET) != 0)
    return APE_ERROR_IO_READ;

  auto *buffer = static_cast<unsigned char *>(av_malloc(kIoBufferSize));
  if (!buffer)
    return APE_ERROR_INSUFFICIENT_MEMORY;
  io_ = avio_alloc_context(buffer, kIoBufferSize, 0, file_, ReadCallback, nullptr, SeekCallback);
  if (!io_) {
    av_free(buffer);
    return APE_ERROR_INSUFFICIENT_MEMORY;
  }
  container_ = avformat_alloc_context();
  if (!container_)
    return APE_ERROR_INSUFFICIENT_MEMORY;
  container_->pb = io_;
  container_->flags |= AVFMT_FLAG_CUSTOM_IO;
  // The demuxer is chosen, not guessed: a WAV file under an .ape name is not Monkey's Audio.
  const AVInputFormat *ape = av_find_input_format("ape");
  if (!ape)
    return APE_ERROR_UNSUPPORTED_FILE_TYPE;
  if (avformat_open_input(&container_, nullptr, ape, nullptr) < 0)
    return APE_ERROR_INVALID_INPUT_FILE; // avformat_open_input freed the context

  if (container_->nb_streams < 1)
    return APE_ERROR_INVALID_INPUT_FILE;
  const AVStream *stream = container_->streams[streamIndex_];
  const AVCodecParameters *par = stream->codecpar;
  if (par->codec_id != AV_CODEC_ID_APE)
    return APE_ERROR_UNSUPPORTED_FILE_TYPE;
  const int channels = par->ch_layout.nb_channels;
  const int bits = par->bits_per_coded_sample;
  if (channels < 1 || channels > 2)
    return APE_ERROR_INPUT_FILE_UNSUPPORTED_CHANNEL_COUNT;
  if (!IsSupportedDepth(bits))
    return APE_ERROR_INPUT_FILE_UNSUPPORTED_BIT_DEPTH;
  if (par->sample_rate <= 0)
    return APE_ERROR_INVALID_INPUT_FILE;
  if (stream->duration == AV_NOPTS_VALUE || stream->duration <= 0)
    return APE_ERROR_INVALID_INPUT_FILE;
  if (par->extradata_size >= 4) {
    fileVersion_ = par->extradata[0] | (par->extradata[1] << 8);
    compressionLevel_ = par->extradata[2] | (par->extradata[3] << 8);
  }

  // Every APE frame must start inside the file; a file cut short is refused here rather than
  // half-way through a conversion.
  const int entries = avformat_index_get_entries_count(stream);
  if (entries < 1)
    return APE_ERROR_INVALID_INPUT_FILE;
  const AVIndexEntry *last = avformat_index_get_entry(const_cast<AVStream *>(stream), entries - 1);
  if (!last || last->pos >= fileSize_)
    return APE_ERROR_INVALID_INPUT_FILE;

  total_ = stream->duration;
  firstFrameBlocks_ = total_;
  if (entries > 1)
    firstFrameBlocks_ =
        std::min(total_, avformat_index_get_entry(const_cast<AVStream *>(stream), 1)->timestamp);
  const int blockAlign = channels * bits / 8;
  const int64_t avgBytes = static_cast<int64_t>(par->sample_rate) * blockAlign;
  if (avgBytes > UINT32_MAX)
    return APE_ERROR_INVALID_INPUT_FILE;
  format_.formatTag = 1;
  format_.channels = static_cast<uint16_t>(channels);
  format_.samplesPerSec = static_cast<uint32_t>(par->sample_rate);
  format_.avgBytesPerSec = static_cast<uint32_t>(avgBytes);
  format_.blockAlign = static_cast<uint16_t>(blockAlign);
  format_.bitsPerSample = static_cast<uint16_t>(bits);
  format_.extraSize = 0;
  return APE_ERROR_SUCCESS;
}

int TAPEDecoder::OpenCodec() {
  const AVCodec *decoder = avcodec_find_decoder(AV_CODEC_ID_APE);
  if (!decoder)
    return APE_ERROR_UNSUPPORTED_FILE_TYPE;
  codec_ = avcodec_alloc_context3(decoder);
  packet_ = av_packet_alloc();
  frame_ = av_frame_alloc();
  if (!codec_ || !packet_ || !frame_)
    return APE_ERROR_INSUFFICIENT_MEMORY;
  if (avcodec_parameters_to_context(codec_, container_->streams[streamIndex_]->codecpar) < 0)
    return APE_ERROR_INSUFFICIENT_MEMORY;
  // Damaged audio must fail, not play as noise: every frame's CRC is checked.
  codec_->err_recognition |= AV_EF_CRCCHECK;
  if (avcodec_open2(codec_, decoder, nullptr) < 0)
    return APE_ERROR_UNSUPPORTED_FILE_VERSION;
  return APE_ERROR_SUCCESS;
}

int TAPEDecoder::NextFrame() {
  for (;;) {
    const int received = avcodec_receive_frame(codec_, frame_);
    if (received == 0) {
      frameOffset_ = 0;
      if (frame_->nb_samples == 0)
        continue;
      const int width = av_get_bytes_per_sample(static_cast<AVSampleFormat>(frame_->format));
      if (frame_->nb_samples < 0 || frame_->ch_layout.nb_channels != format_.channels ||
          width < format_.bitsPerSample / 8) {
        av_frame_unref(frame_);
        return APE_ERROR_DECOMPRESSING_FRAME;
      }
      return APE_ERROR_SUCCESS;
    }
    if (received == AVERROR_EOF)
      return kEndOfStream;
    if (received != AVERROR(EAGAIN) || drained_)
      return APE_ERROR_DECOMPRESSING_FRAME;

    const int read = av_read_frame(container_, packet_);
    if (read == AVERROR_EOF) {
      drained_ = true;
      avcodec_send_packet(codec_, nullptr);
      continue;
    }
    if (read < 0)
      return APE_ERROR_IO_READ;
    if (packet_->stream_index != streamIndex_) {
      av_packet_unref(packet_);
      continue;
    }
    if (skip_ < 0) {
      // First packet after a seek: its time stamp is the first block of its APE frame.
      if (packet_->pts == AV_NOPTS_VALUE || packet_->pts > position_) {
        av_packet_unref(packet_);
        return APE_ERROR_DECOMPRESSING_FRAME;
      }
      skip_ = position_ - packet_->pts;
    }
    const int sent = avcodec_send_packet(codec_, packet_);
    av_packet_unref(packet_);
    if (sent < 0)
      return APE_ERROR_DECOMPRESSING_FRAME;
  }
}

int TAPEDecoder::Seek(std::int64_t block) {
  if (block < 0 || block >= total_)
    return APE_ERROR_BAD_PARAMETER;
  // The demuxer moves to the APE frame that holds the block; NextFrame learns that frame's first
  // block from its packet and GetData drops the blocks before the target.
  if (av_seek_frame(container_, streamIndex_, block, AVSEEK_FLAG_BACKWARD) < 0)
    return APE_ERROR_IO_READ;
  avcodec_flush_buffers(codec_);
  av_frame_unref(frame_);
  frameOffset_ = 0;
  drained_ = false;
  position_ = block;
  skip_ = -1;
  failure_ = APE_ERROR_SUCCESS;
  return APE_ERROR_SUCCESS;
}

int TAPEDecoder::GetData(char *buffer, std::int64_t blocks, std::int64_t &retrieved) {
  retrieved = 0;
  if (blocks < 0 || (blocks > 0 && !buffer))
    return APE_ERROR_INVALID_FUNCTION_PARAMETER;
  if (failure_ != APE_ERROR_SUCCESS)
    return failure_;
  const std::int64_t wanted = std::min(blocks, total_ - position_);
  while (retrieved < wanted) {
    const int available = frame_->nb_samples - frameOffset_;
    if (available <= 0) {
      const int result = NextFrame();
      if (result != APE_ERROR_SUCCESS) {
        // End of data before the declared total means the file was cut short.
        failure_ = result == kEndOfStream ? APE_ERROR_IO_READ : result;
        return failure_;
      }
      continue;
    }
    if (skip_ > 0) {
      const int dropped = static_cast<int>(std::min<std::int64_t>(skip_, available));
      frameOffset_ += dropped;
      skip_ -= dropped;
      continue;
    }
    const int count = static_cast<int>(std::min<std::int64_t>(available, wanted - retrieved));
    CopyBlocks(frameOffset_, count, buffer + retrieved * format_.blockAlign);
    frameOffset_ += count;
    retrieved += count;
    position_ += count;
  }
  return APE_ERROR_SUCCESS;
}

// FFmpeg keeps samples left-justified in 8-bit unsigned, 16-bit or 32-bit signed words, planar
// or interleaved; the caller gets interleaved little-endian samples of the file's own width
// (8-bit samples unsigned, as in WAV).
void TAPEDecoder::CopyBlocks(int first, int count, char *out) const {
  const auto sampleFormat = static_cast<AVSampleFormat>(frame_->format);
  const bool planar = av_sample_fmt_is_planar(sampleFormat);
  const int width = av_get_bytes_per_sample(sampleFormat);
  const int channels = format_.channels;
  const int outWidth = format_.bitsPerSample / 8;
  for (int i = 0; i < count; ++i) {
    for (int ch = 0; ch < channels; ++ch) {
      const uint8_t *in =
          planar
              ? frame_->extended_data[ch] + static_cast<size_t>(first + i) * width
              : frame_->extended_data[0] + (static_cast<size_t>(first + i) * channels + ch) * width;
      // A little-endian word keeps its most significant bytes at its end.
      std::memcpy(out, in + (width - outWidth), static_cast<size_t>(outWidth));
      out += outWidth;
    }
  }
}
