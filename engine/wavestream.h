// TWaveStreamWriteThread: the feeder that writes one track's PCM as a WAV stream into the
// encoder's standard input, feeding the audio CRC and reporting progress on the way.
#pragma once

#include "platform/event.h"
#include "plugins/wavestream.h"

#include <QByteArray>
#include <QThread>
#include <cstdint>
#include <functional>

class TWaveInputStream;
class TCrc32Base;

// The bytes of PCM moved per block: one plug-in read and one pipe write each.
inline constexpr int kWaveStreamBlockBytes = 204800;

// The 44-byte header of a WAV stream of sampleCount frames in format: RIFF size sampleCount *
// blockAlign + 36, the format's first 16 bytes unchanged, data size sampleCount * blockAlign
// (32-bit products, as the stream is written).
QByteArray MakeWaveStreamHeader(const WaveStreamFormat &format, std::uint32_t sampleCount);

class TWaveStreamWriteThread : public QThread {
public:
  using ProgressHandler = std::function<void(TWaveStreamWriteThread &feeder, int frames)>;

  // Takes ownership of writeHandle (closed last when the body ends, so the encoder sees the end
  // of its input) and starts at once. stream stands at startSample already; crc may be null.
  // A missing handle raises _err_WSInvalidWH.
  TWaveStreamWriteThread(int writeHandle, TWaveInputStream *stream, int startSample,
                         int sampleCount, TCrc32Base *crc, ProgressHandler onProgress);
  ~TWaveStreamWriteThread() override;

  TEvent StartedEvent{TEvent::AutoReset};
  // 0: every frame delivered, or nothing attempted because the range lies beyond the stream or
  // the header could not be written; -1: stopped early.
  int Result() const { return result_; }

protected:
  void run() override;

private:
  int Deliver();

  int WriteHandle;
  TWaveInputStream *Stream;
  int StartSample;
  int SampleCount;
  TCrc32Base *Crc;
  ProgressHandler OnProgress;
  int result_ = 0;
};
