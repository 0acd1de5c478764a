// The real kplape.kpl from the build's Plugin folder with the real libMAC.so beside it: its
// records, every test file decoded against the ffmpeg program, seeking and reading at the
// edges, refused files and formats, and handles that are not its own.
#include "apecodec/apefixtures.h"
#include "messages/error.h"
#include "plugin-ape/kplapeloader.h"
#include "plugins/wavestreammanager.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace apefixtures;

namespace {

TKplApe &Plugin() {
  static TKplApe plugin;
  return plugin;
}

class KplApe : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Plugin().Loaded()) << dlerror(); }
  TKplApe &P() { return Plugin(); }
};

TEST_F(KplApe, DescribesItselfAndItsFileType) {
  WaveStreamCaps caps;
  std::memset(&caps, 0x7F, sizeof caps);
  P().GetCaps(&caps);
  EXPECT_STREQ(caps.name, "Monkey's Audio Codec Wave Stream");
  for (size_t i = std::strlen(caps.name); i < sizeof caps.name; ++i)
    ASSERT_EQ(caps.name[i], 0) << "the rest of the field is NUL-filled";
  EXPECT_EQ(+caps.version, 80);
  EXPECT_EQ(+caps.flags, 0xC0000000u);
  P().GetCaps(nullptr);

  EXPECT_EQ(P().GetFileTypeCount(), 1);
  WaveStreamFileType type;
  std::memset(&type, 0x7F, sizeof type);
  ASSERT_EQ(P().GetFileTypeInfo(0, &type), 1);
  EXPECT_STREQ(type.description, "Monkey's Audio Codec File");
  EXPECT_STREQ(type.extension, ".ape");
  EXPECT_EQ(+type.flags, 3u);

  for (int index : {-1, 1}) {
    WaveStreamFileType untouched;
    std::memset(&untouched, 0x5A, sizeof untouched);
    EXPECT_EQ(P().GetFileTypeInfo(index, &untouched), 0);
    for (size_t i = 0; i < sizeof untouched; ++i)
      ASSERT_EQ(reinterpret_cast<unsigned char *>(&untouched)[i], 0x5A);
  }
  EXPECT_EQ(P().GetFileTypeInfo(0, nullptr), 0);
}

class KplApeAudioFile : public KplApe, public ::testing::WithParamInterface<std::string> {};

TEST_P(KplApeAudioFile, DecodesToTheFfmpegPcmAndTheDeclaredFrameCount) {
  const std::string path = DataFile(GetParam());
  const std::vector<unsigned char> oracle = FfmpegPcm(path);
  ASSERT_FALSE(oracle.empty());
  WaveStreamFormat format;
  std::memset(&format, 0x7F, sizeof format);
  WaveStreamHandle h = P().OpenStream(path.c_str(), &format);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(+format.formatTag, 1);
  EXPECT_EQ(+format.channels, 2);
  EXPECT_EQ(+format.samplesPerSec, 44100u);
  EXPECT_EQ(+format.bitsPerSample, 16);
  EXPECT_EQ(+format.blockAlign, 4);
  EXPECT_EQ(+format.avgBytesPerSec, 176400u);
  EXPECT_EQ(+format.size, 18);
  WaveStreamFormat again;
  ASSERT_EQ(P().GetWaveFormat(h, &again), 1);
  EXPECT_EQ(std::memcmp(&again, &format, sizeof format), 0);

  const int total = P().GetSampleCount(h);
  EXPECT_EQ(total, ReadDeclaredHeader(ReadBytes(path)).totalBlocks);
  EXPECT_EQ(P().GetPosition(h), 0);

  // The host's pattern: consecutive buffers from frame 0 onward.
  std::vector<unsigned char> pcm, buffer(4410 * 4);
  int got;
  while ((got = P().Read(h, buffer.data(), 4410)) > 0)
    pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + got * 4);
  EXPECT_EQ(got, 0);
  EXPECT_TRUE(pcm == oracle) << pcm.size() << " bytes against " << oracle.size();
  EXPECT_EQ(static_cast<int>(pcm.size() / 4), total);
  EXPECT_EQ(P().GetPosition(h), total);
  EXPECT_EQ(P().CloseStream(h), 1);
}

INSTANTIATE_TEST_SUITE_P(TestData, KplApeAudioFile, ::testing::ValuesIn(AudioFiles()));

TEST_F(KplApe, SeeksAndReadsAtTheEdges) {
  const std::string path = DataFile("real-3990-3s.ape");
  const std::vector<unsigned char> oracle = FfmpegPcm(path);
  WaveStreamHandle h = P().OpenStream(path.c_str(), nullptr); // no format record wanted
  ASSERT_NE(h, nullptr);
  const int total = P().GetSampleCount(h);
  ASSERT_EQ(static_cast<size_t>(total) * 4, oracle.size());

  EXPECT_EQ(P().Seek(h, total - 1), total - 1);
  EXPECT_EQ(P().GetPosition(h), total - 1);
  unsigned char frames[8 * 4];
  ASSERT_EQ(P().Read(h, frames, 8), 1);
  EXPECT_EQ(std::memcmp(frames, oracle.data() + (total - 1) * 4, 4), 0);
  EXPECT_EQ(P().GetPosition(h), total);
  EXPECT_EQ(P().Read(h, frames, 8), 0);
  EXPECT_EQ(P().GetPosition(h), total);

  ASSERT_EQ(P().Seek(h, 1000), 1000);
  EXPECT_EQ(P().Seek(h, total), -1);
  EXPECT_EQ(P().Seek(h, 0xFFFFFFFFu), -1);
  EXPECT_EQ(P().GetPosition(h), 1000);
  ASSERT_EQ(P().Read(h, frames, 8), 8);
  EXPECT_EQ(std::memcmp(frames, oracle.data() + 1000 * 4, sizeof frames), 0);
  EXPECT_EQ(P().Read(h, frames, 0), 0);
  EXPECT_EQ(P().Read(h, nullptr, 8), -1);
  EXPECT_EQ(P().GetPosition(h), 1008);

  // Write on a read handle does nothing.
  EXPECT_EQ(P().Write(h, frames, 8), -1);
  EXPECT_EQ(P().GetPosition(h), 1008);
  EXPECT_EQ(P().CloseStream(h), 1);
}

TEST_F(KplApe, KeepsOnePositionPerStream) {
  const std::string path = DataFile("real-3990-3s.ape");
  const std::vector<unsigned char> oracle = FfmpegPcm(path);
  WaveStreamHandle a = P().OpenStream(path.c_str(), nullptr);
  WaveStreamHandle b = P().OpenStream(path.c_str(), nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(P().Seek(b, 100000), 100000);
  unsigned char fa[16], fb[16];
  ASSERT_EQ(P().Read(a, fa, 4), 4);
  ASSERT_EQ(P().Read(b, fb, 4), 4);
  EXPECT_EQ(std::memcmp(fa, oracle.data(), 16), 0);
  EXPECT_EQ(std::memcmp(fb, oracle.data() + 100000 * 4, 16), 0);
  EXPECT_EQ(P().GetPosition(a), 4);
  EXPECT_EQ(P().GetPosition(b), 100004);
  EXPECT_EQ(P().CloseStream(a), 1);
  EXPECT_EQ(P().CloseStream(b), 1);
}

class KplApeRefusedFile : public KplApe, public ::testing::WithParamInterface<std::string> {};

TEST_P(KplApeRefusedFile, GivesNoStream) {
  WaveStreamFormat format;
  std::memset(&format, 0x5A, sizeof format);
  EXPECT_EQ(P().OpenStream(DataFile(GetParam()).c_str(), &format), nullptr);
  EXPECT_EQ(+format.size, 0x5A5A) << "the format record is left alone";
  EXPECT_EQ(P().OpenStream(DataFile(GetParam()).c_str(), nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(TestData, KplApeRefusedFile, ::testing::ValuesIn(RefusedFiles()));

TEST_F(KplApe, RefusesMissingAndUnnamedFiles) {
  WaveStreamFormat format;
  EXPECT_EQ(P().OpenStream(nullptr, &format), nullptr);
  EXPECT_EQ(P().OpenStream("", &format), nullptr);
  EXPECT_EQ(P().OpenStream("/nonexistent/album.ape", &format), nullptr);
}

TEST_F(KplApe, CreateStreamRefusesBadFormatsAndCreatesNothing) {
  QTemporaryDir dir;
  const QByteArray name = QFile::encodeName(dir.filePath("out.ape"));
  const WaveStreamFormat good{1, 2, 44100, 176400, 4, 16, 18};
  struct Case {
    const char *what;
    WaveStreamFormat format;
  } cases[] = {
      {"block align 3 for 2 x 16 bits", {1, 2, 44100, 132300, 3, 16, 18}},
      {"block align 2 for 2 x 16 bits", {1, 2, 44100, 88200, 2, 16, 18}},
      {"size 16", {1, 2, 44100, 176400, 4, 16, 16}},
      {"size 0", {1, 2, 44100, 176400, 4, 16, 0}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(P().CreateStream(name.constData(), &c.format, 1), nullptr) << c.what;
    EXPECT_FALSE(QFile::exists(dir.filePath("out.ape"))) << c.what;
  }
  EXPECT_EQ(P().CreateStream(nullptr, &good, 1), nullptr);
  EXPECT_EQ(P().CreateStream(name.constData(), nullptr, 1), nullptr);
  // The project's own library has no encoder: a good format still gives no stream, and no file.
  EXPECT_EQ(P().CreateStream(name.constData(), &good, 1), nullptr);
  EXPECT_FALSE(QFile::exists(dir.filePath("out.ape")));
}

TEST_F(KplApe, HandlesThatAreNotItsOwnAreRefused) {
  // A record of the right size but another tag, and a null handle.
  alignas(8) unsigned char foreign[64] = {};
  foreign[0] = 64;
  std::memcpy(foreign + 2, "WAVW", 4);
  for (WaveStreamHandle h :
       {static_cast<WaveStreamHandle>(nullptr), static_cast<WaveStreamHandle>(foreign)}) {
    unsigned char buffer[16];
    WaveStreamFormat format;
    EXPECT_EQ(P().Seek(h, 0), -1);
    EXPECT_EQ(P().Read(h, buffer, 1), -1);
    EXPECT_EQ(P().Write(h, buffer, 1), -1);
    EXPECT_EQ(P().CloseStream(h), 0);
    EXPECT_EQ(P().GetWaveFormat(h, &format), 0);
    EXPECT_EQ(P().GetSampleCount(h), -1);
    EXPECT_EQ(P().GetPosition(h), -1);
  }
  WaveStreamHandle h = P().OpenStream(DataFile("real-3990-3s.ape").c_str(), nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(P().GetWaveFormat(h, nullptr), 0);
  EXPECT_EQ(P().CloseStream(h), 1);
}

// The program's own host: it finds kplape.kpl in the Plugin folder, maps ".ape" to it, and reads
// every file through it as a conversion does.
TEST(KplApeInTheHost, ReadsEveryFileAsTheProgramDoes) {
  TestConfigHome();
  TWaveStreamManager manager;
  manager.LoadPlugins(QStringLiteral(QUARROW_PLUGIN_DIR));
  ASSERT_TRUE(manager.IsLoaded(TKplApe::BuiltPlugin()));
  manager.BindAll();
  for (const std::string &name : AudioFiles()) {
    const std::string path = DataFile(name);
    const std::vector<unsigned char> oracle = FfmpegPcm(path);
    std::unique_ptr<TWaveInputStream> stream =
        manager.OpenInputStream(QString::fromStdString(path));
    ASSERT_NE(stream, nullptr) << name;
    EXPECT_EQ(stream->SampleCount, ReadDeclaredHeader(ReadBytes(path)).totalBlocks) << name;
    EXPECT_EQ(+stream->Format.size, 18);
    std::vector<unsigned char> pcm, buffer(588 * 4);
    int got;
    while ((got = stream->Read(buffer.data(), 588)) > 0)
      pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + got * 4);
    EXPECT_EQ(got, 0) << name;
    EXPECT_TRUE(pcm == oracle) << name;
  }
  for (const std::string &name : RefusedFiles())
    EXPECT_THROW(manager.OpenInputStream(QString::fromStdString(DataFile(name))), TError) << name;
}

} // namespace
