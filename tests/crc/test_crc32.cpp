// TCrc32EAC in its three modes against the plain bitwise reference, and Normal mode against
// Python's zlib.crc32.
#include "crc/crc32.h"
#include "crcreference.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc(int mode, const Bytes &pcm) {
  TCrc32EAC crc;
  crc.Mode = mode;
  crc.Update(pcm.data(), pcm.size());
  return crc.GetValue();
}

// Stereo PCM with the shapes the zero-skipping modes must handle: long loud stretches, digital
// silence, silence in one channel only, isolated zero samples, and samples with one zero byte.
Bytes MakePcm(std::uint32_t seed, std::size_t frames, std::size_t extraBytes) {
  std::mt19937 random(seed);
  Bytes pcm;
  pcm.reserve(frames * 4 + extraBytes);
  auto sample = [&](std::uint16_t value) {
    pcm.push_back(static_cast<std::uint8_t>(value & 0xFF));
    pcm.push_back(static_cast<std::uint8_t>(value >> 8));
  };
  while (pcm.size() < frames * 4) {
    const std::size_t run = 1 + random() % (random() % 4 == 0 ? 6000 : 40);
    const unsigned shape = random() % 7;
    for (std::size_t i = 0; i < run && pcm.size() < frames * 4; ++i) {
      std::uint16_t left = static_cast<std::uint16_t>(random());
      std::uint16_t right = static_cast<std::uint16_t>(random());
      if (shape == 0)
        left = right = 0;
      else if (shape == 1)
        left = 0;
      else if (shape == 2)
        right = 0;
      else if (shape == 3 && random() % 3 == 0)
        (random() % 2 ? left : right) = 0;
      else if (shape == 4)
        left = static_cast<std::uint16_t>(random() % 2 ? left & 0xFF00 : left & 0x00FF);
      sample(left);
      sample(right);
    }
  }
  for (std::size_t i = 0; i < extraBytes; ++i)
    pcm.push_back(static_cast<std::uint8_t>(random() % 2 ? 0 : random()));
  return pcm;
}

TEST(TCrc32EAC, ExamplesOfEachMode) {
  const Bytes abc{'a', 'b', 'c'};
  EXPECT_EQ(Crc(0, abc), 0x352441C2u);
  EXPECT_EQ(Crc(0, {}), 0u);
  EXPECT_EQ(Crc(1, {0, 0, 0, 0, 0x34, 0x12}), crcref::Value(0, {0x34, 0x12}));
  EXPECT_EQ(Crc(2, {0, 0, 5, 0, 1, 0, 0, 0}), crcref::Value(0, {0x01, 0x00}));
  // A sample is zero only when both its bytes are.
  EXPECT_EQ(Crc(1, {0, 1, 1, 0}), crcref::Value(0, {0, 1, 1, 0}));
}

TEST(TCrc32EAC, BuffersTooShortOrUnknownModesLeaveTheRegister) {
  struct Case {
    int mode;
    Bytes bytes;
  };
  const Case cases[] = {
      {1, {0x7F}}, {2, {1, 2, 3}}, {1, {}}, {2, {}}, {3, {1, 2, 3, 4}}, {-1, {1, 2, 3, 4}},
  };
  for (const Case &c : cases) {
    TCrc32EAC crc;
    crc.Mode = c.mode;
    crc.Register = 0x12345678u;
    crc.Update(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(crc.Register, 0x12345678u) << "mode " << c.mode;
  }
}

TEST(TCrc32EAC, EveryModeEqualsTheBitwiseReferenceOnRandomPcm) {
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    for (std::size_t extra : {0u, 1u, 2u, 3u}) {
      const Bytes pcm = MakePcm(seed, 50000 + seed * 777, extra);
      for (int mode : {0, 1, 2})
        EXPECT_EQ(Crc(mode, pcm), crcref::Value(mode, pcm))
            << "seed " << seed << " extra " << extra << " mode " << mode;
    }
  }
}

TEST(TCrc32EAC, FeedingInBlocksOfWholeFramesGivesTheSameValue) {
  const Bytes pcm = MakePcm(7, 60000, 0);
  std::mt19937 random(99);
  for (int mode : {0, 1, 2}) {
    TCrc32EAC crc;
    crc.Mode = mode;
    for (std::size_t at = 0; at < pcm.size();) {
      const std::size_t block = std::min<std::size_t>(4 * (random() % 9000), pcm.size() - at);
      crc.Update(pcm.data() + at, block);
      at += block;
    }
    EXPECT_EQ(crc.GetValue(), crcref::Value(mode, pcm)) << "mode " << mode;
  }
}

TEST(TCrc32EAC, EachBufferIsCutOnItsOwnWhenPiecesAreNotWholeFrames) {
  const Bytes pcm = MakePcm(11, 20000, 3);
  std::mt19937 random(5);
  for (int mode : {0, 1, 2}) {
    TCrc32EAC crc;
    crc.Mode = mode;
    std::uint32_t reference = 0xFFFFFFFFu;
    for (std::size_t at = 0; at < pcm.size();) {
      const std::size_t piece = std::min<std::size_t>(random() % 3001, pcm.size() - at);
      crc.Update(pcm.data() + at, piece);
      reference = crcref::Feed(reference, mode, pcm.data() + at, piece);
      at += piece;
    }
    EXPECT_EQ(crc.Register, reference) << "mode " << mode;
  }
}

TEST(TCrc32EAC, ResetStartsAgainAndByteWiseBaseUpdateAgreesWithNormal) {
  const Bytes pcm = MakePcm(3, 3000, 1);
  TCrc32EAC crc;
  crc.Update(pcm.data(), 100);
  crc.Reset();
  crc.TCrc32Base::Update(pcm.data(), pcm.size());
  EXPECT_EQ(crc.GetValue(), Crc(0, pcm));
}

// Python's zlib.crc32 over the file, and its own selection for the zero-skipping modes.
TEST(TCrc32EAC, AgreesWithPythonZlib) {
  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  ASSERT_FALSE(python.isEmpty()) << "python3 is needed for this comparison";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const Bytes pcm = MakePcm(2024, 70000, 2);
  QFile file(dir.filePath(QStringLiteral("pcm.raw")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(reinterpret_cast<const char *>(pcm.data()), pcm.size()),
            static_cast<qint64>(pcm.size()));
  file.close();

  const char *script = R"(
import sys, zlib
d = open(sys.argv[1], 'rb').read()
lr = b''.join(d[i:i+2] for i in range(0, len(d) - 1, 2) if d[i:i+2] != b'\0\0')
l = b''.join(d[i:i+2] for i in range(0, len(d) - 3, 4) if d[i:i+2] != b'\0\0')
print(zlib.crc32(d), zlib.crc32(lr), zlib.crc32(l))
)";
  QProcess process;
  process.start(python, {QStringLiteral("-c"), QString::fromUtf8(script), file.fileName()});
  ASSERT_TRUE(process.waitForFinished(60000));
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  const QList<QByteArray> values = process.readAllStandardOutput().trimmed().split(' ');
  ASSERT_EQ(values.size(), 3);
  for (int mode : {0, 1, 2})
    EXPECT_EQ(Crc(mode, pcm), values[mode].toUInt()) << "mode " << mode;
}

} // namespace
