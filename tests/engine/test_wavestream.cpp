// The feeder: the WAV stream it writes into a pipe from a real WAV file read through the real
// WAV plug-in, the range test, the CRC on the way, an early-closing reader and a break.
#include "crc/crc32.h"
#include "engine/wavestream.h"
#include "messages/error.h"
#include "platform/pipe.h"
#include "platform/process.h"
#include "plugins/wavestreammanager.h"
#include "testwav.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

class FeederTest : public ::testing::Test {
protected:
  void SetUp() override {
    IgnoreSigPipe();
    ASSERT_TRUE(dir_.isValid());
    manager_.LoadPlugins(QStringLiteral(QUARROW_PLUGIN_DIR));
    manager_.BindAll();
  }

  std::unique_ptr<TWaveInputStream> Open(std::uint64_t frames) {
    const QString path = dir_.filePath(QStringLiteral("image.wav"));
    EXPECT_TRUE(testsupport::WriteTestWav(path, frames));
    auto stream = manager_.OpenInputStream(path);
    EXPECT_NE(stream, nullptr);
    return stream;
  }

  // Runs a feeder into a pipe and reads all it writes.
  QByteArray Feed(TWaveInputStream *stream, int start, int count, TCrc32Base *crc, int &result,
                  std::int64_t &progress) {
    TPipeEnds ends;
    EXPECT_TRUE(CreatePipe(ends));
    progress = 0;
    TWaveStreamWriteThread feeder(
        ends.Write, stream, start, count, crc,
        [&](TWaveStreamWriteThread &, int frames) { progress += frames; });
    feeder.StartedEvent.Wait();
    QByteArray out;
    char buf[65536];
    std::int64_t n;
    while ((n = ReadPipe(ends.Read, buf, sizeof buf)) > 0) {
      out.append(buf, n);
    }
    CloseHandle(ends.Read);
    feeder.wait();
    result = feeder.Result();
    return out;
  }

  QTemporaryDir dir_;
  TWaveStreamManager manager_;
};

std::uint32_t U32At(const QByteArray &b, int offset) {
  return qFromLittleEndian<std::uint32_t>(b.constData() + offset);
}

QByteArray ExpectedPcm(std::uint64_t first, std::uint64_t count) {
  QByteArray pcm;
  for (std::uint64_t f = first; f < first + count; ++f) {
    for (int c = 0; c < 2; ++c) {
      char le[2];
      qToLittleEndian(static_cast<std::uint16_t>(testsupport::SampleAt(f, c)), le);
      pcm.append(le, 2);
    }
  }
  return pcm;
}

} // namespace

TEST_F(FeederTest, ThousandFramesMakeAStreamOfHeaderAndExactlyTheirPcm) {
  auto stream = Open(1000);
  int result = 1;
  std::int64_t progress;
  TCrc32EAC crc;
  const QByteArray out = Feed(stream.get(), 0, 1000, &crc, result, progress);
  EXPECT_EQ(result, 0);
  ASSERT_EQ(out.size(), 44 + 4000);
  EXPECT_EQ(out.left(4), QByteArray("RIFF"));
  EXPECT_EQ(U32At(out, 4), 4036u);
  EXPECT_EQ(out.mid(8, 8), QByteArray("WAVEfmt "));
  EXPECT_EQ(U32At(out, 16), 16u);
  EXPECT_EQ(qFromLittleEndian<std::uint16_t>(out.constData() + 20), 1); // PCM
  EXPECT_EQ(qFromLittleEndian<std::uint16_t>(out.constData() + 22), 2);
  EXPECT_EQ(U32At(out, 24), 44100u);
  EXPECT_EQ(U32At(out, 28), 44100u * 4);
  EXPECT_EQ(qFromLittleEndian<std::uint16_t>(out.constData() + 32), 4);
  EXPECT_EQ(qFromLittleEndian<std::uint16_t>(out.constData() + 34), 16);
  EXPECT_EQ(out.mid(36, 4), QByteArray("data"));
  EXPECT_EQ(U32At(out, 40), 4000u);
  const QByteArray pcm = ExpectedPcm(0, 1000);
  EXPECT_EQ(out.mid(44), pcm);
  EXPECT_EQ(progress, 1000);
  EXPECT_EQ(crc.GetValue(), crc32(0, reinterpret_cast<const Bytef *>(pcm.constData()), pcm.size()));
}

TEST_F(FeederTest, TracksReadBackToBackAcrossBlocks) {
  // Two ranges, the first longer than one 204800-byte block, read from one stream in order.
  const int first = 70000;
  const int second = 1234;
  auto stream = Open(first + second);
  int result;
  std::int64_t progress;
  const QByteArray a = Feed(stream.get(), 0, first, nullptr, result, progress);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(progress, first);
  const QByteArray b = Feed(stream.get(), first, second, nullptr, result, progress);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(a.mid(44), ExpectedPcm(0, first));
  EXPECT_EQ(b.mid(44), ExpectedPcm(first, second));
}

TEST_F(FeederTest, RangeBeyondTheStreamWritesNothing) {
  auto stream = Open(1000);
  int result = 1;
  std::int64_t progress;
  EXPECT_TRUE(Feed(stream.get(), 500, 501, nullptr, result, progress).isEmpty());
  EXPECT_EQ(result, 0);
  EXPECT_EQ(progress, 0);
}

TEST_F(FeederTest, ReaderClosingEarlyStopsTheFeeder) {
  auto stream = Open(441000);
  TPipeEnds ends;
  ASSERT_TRUE(CreatePipe(ends));
  CloseHandle(ends.Read);
  TWaveStreamWriteThread feeder(ends.Write, stream.get(), 0, 441000, nullptr, nullptr);
  feeder.StartedEvent.Wait();
  feeder.wait();
  EXPECT_EQ(feeder.Result(), 0); // the header already failed: nothing was attempted
}

TEST_F(FeederTest, BreakFinishesTheCurrentBlockAndClosesTheInput) {
  auto stream = Open(441000);
  TPipeEnds ends;
  ASSERT_TRUE(CreatePipe(ends));
  std::int64_t progress = 0;
  TWaveStreamWriteThread feeder(ends.Write, stream.get(), 0, 441000, nullptr,
                                [&](TWaveStreamWriteThread &, int frames) { progress += frames; });
  feeder.StartedEvent.Wait();
  // The first block cannot fit into the pipe until we read, so the feeder is inside it now.
  feeder.requestInterruption();
  QByteArray out;
  char buf[65536];
  std::int64_t n;
  while ((n = ReadPipe(ends.Read, buf, sizeof buf)) > 0) {
    out.append(buf, n);
  }
  CloseHandle(ends.Read);
  feeder.wait();
  EXPECT_EQ(feeder.Result(), -1);
  EXPECT_LE(out.size(), 44 + kWaveStreamBlockBytes);
  EXPECT_EQ(out.size() == 44 ? 0 : 1, progress > 0 ? 1 : 0);
}

TEST(Feeder, MissingWriteHandleIsRefused) {
  EXPECT_THROW(TWaveStreamWriteThread(-1, nullptr, 0, 0, nullptr, nullptr), TError);
}
