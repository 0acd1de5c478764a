// The feeder: header, then the PCM block by block, strictly forward.
#include "engine/wavestream.h"

#include "crc/crc32.h"
#include "messages/error.h"
#include "messages/str.h"
#include "platform/pipe.h"
#include "plugins/waveinputstream.h"

#include <QtEndian>
#include <cstring>
#include <vector>

namespace {

void PutU32(QByteArray &bytes, std::uint32_t value) {
  char le[4];
  qToLittleEndian(value, le);
  bytes.append(le, 4);
}

} // namespace

QByteArray MakeWaveStreamHeader(const WaveStreamFormat &format, std::uint32_t sampleCount) {
  const std::uint32_t dataSize = sampleCount * format.blockAlign;
  QByteArray header;
  header.reserve(44);
  header.append("RIFF", 4);
  PutU32(header, dataSize + 36);
  header.append("WAVEfmt ", 8);
  PutU32(header, 16);
  header.append(reinterpret_cast<const char *>(&format), 16);
  header.append("data", 4);
  PutU32(header, dataSize);
  return header;
}

TWaveStreamWriteThread::TWaveStreamWriteThread(int writeHandle, TWaveInputStream *stream,
                                               int startSample, int sampleCount, TCrc32Base *crc,
                                               ProgressHandler onProgress)
    : WriteHandle(writeHandle), Stream(stream), StartSample(startSample), SampleCount(sampleCount),
      Crc(crc), OnProgress(std::move(onProgress)) {
  if (WriteHandle < 0) {
    throw TError(str::_err_WSInvalidWH);
  }
  start();
}

TWaveStreamWriteThread::~TWaveStreamWriteThread() {
  wait();
}

void TWaveStreamWriteThread::run() {
  StartedEvent.Set();
  try {
    result_ = Deliver();
  } catch (...) {
    result_ = -1;
  }
  CloseHandle(WriteHandle);
}

int TWaveStreamWriteThread::Deliver() {
  if (Stream == nullptr) {
    return -1;
  }
  const std::uint32_t end =
      static_cast<std::uint32_t>(StartSample) + static_cast<std::uint32_t>(SampleCount);
  if (end > static_cast<std::uint32_t>(Stream->SampleCount)) {
    return 0;
  }
  const int blockAlign = Stream->Format.blockAlign;
  if (blockAlign <= 0) {
    // No frame size: nothing can be cut into frames, and the encoder sees an empty input.
    return -1;
  }
  const QByteArray header = MakeWaveStreamHeader(Stream->Format, SampleCount);
  if (WritePipe(WriteHandle, header.constData(), header.size()) != header.size()) {
    return 0;
  }
  if (isInterruptionRequested()) {
    return -1;
  }
  std::vector<char> buffer(kWaveStreamBlockBytes);
  const int framesPerBlock = kWaveStreamBlockBytes / blockAlign;
  int remaining = SampleCount;
  while (remaining > 0 && !isInterruptionRequested()) {
    const int want = std::min(remaining, framesPerBlock);
    const int got = Stream->Read(buffer.data(), want);
    if (got != want) {
      break;
    }
    const std::size_t bytes = static_cast<std::size_t>(want) * blockAlign;
    if (Crc != nullptr) {
      Crc->Update(buffer.data(), bytes);
    }
    const std::int64_t written = WritePipe(WriteHandle, buffer.data(), bytes);
    if (written <= 0) {
      break;
    }
    if (OnProgress) {
      OnProgress(*this, got);
    }
    if (static_cast<std::size_t>(written) < bytes) {
      break;
    }
    remaining -= got;
  }
  return remaining == 0 ? 0 : -1;
}
