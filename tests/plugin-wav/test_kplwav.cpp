// kplwav.kpl through its exports: reading every kind of WAV file it accepts, refusing the rest,
// writing files that read back bit for bit, the failure values of the interface, and damaged
// headers by the thousand.
#include "plugin-wav/kplwavapi.h"
#include "plugin-wav/wavbuilder.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

WaveStreamFormat Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  const auto align = static_cast<std::uint16_t>(channels * bits / 8);
  return {1, channels, rate, rate * align, align, bits, 18};
}

bool SameFormat(const WaveStreamFormat &a, const WaveStreamFormat &b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string Show(const WaveStreamFormat &f) {
  return "tag " + std::to_string(f.formatTag) + " ch " + std::to_string(f.channels) + " rate " +
         std::to_string(f.samplesPerSec) + " avg " + std::to_string(f.avgBytesPerSec) + " align " +
         std::to_string(f.blockAlign) + " bits " + std::to_string(f.bitsPerSample) + " size " +
         std::to_string(f.size);
}

class Kplwav : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(api.Complete()) << dlerror(); }

  QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
  std::string Name(const char *name) const { return Path(name).toStdString(); }
  std::string Make(const char *name, const QByteArray &bytes) const {
    EXPECT_TRUE(WriteBytes(Path(name), bytes));
    return Name(name);
  }
  QByteArray Contents(const char *name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // Reads from the current position to the end, chunk frames per call, into buffers of exactly
  // the size each call asks for (so that a plug-in writing past them is caught).
  QByteArray ReadToEnd(WaveStreamHandle h, int blockAlign, int chunk) {
    QByteArray all;
    for (;;) {
      std::vector<char> buffer(static_cast<std::size_t>(chunk) * blockAlign);
      const int got = api.Read(h, buffer.data(), chunk);
      EXPECT_GE(got, 0);
      EXPECT_LE(got, chunk);
      if (got <= 0)
        return all;
      all.append(buffer.data(), got * blockAlign);
    }
  }

  TKplwav api;
  QTemporaryDir dir;
};

} // namespace

TEST_F(Kplwav, DescribesItselfAsOneWavTypeForInputAndOutput) {
  api.GetCaps(nullptr);
  WaveStreamCaps caps;
  std::memset(&caps, 0xAB, sizeof caps);
  api.GetCaps(&caps);
  EXPECT_STREQ(caps.name, "RIFF WAVE Wave Stream");
  EXPECT_EQ(+caps.flags, 0u) << "no about or settings page";
  for (std::size_t i = std::strlen(caps.name); i < sizeof caps.name; ++i)
    EXPECT_EQ(caps.name[i], '\0') << "field NUL-filled after the text";
  EXPECT_EQ(api.Symbol("AboutDlg"), nullptr);
  EXPECT_EQ(api.Symbol("ConfigDlg"), nullptr);

  ASSERT_EQ(api.GetFileTypeCount(), 1);
  WaveStreamFileType type, untouched;
  std::memset(&type, 0xAB, sizeof type);
  untouched = type;
  EXPECT_EQ(api.GetFileTypeInfo(-1, &type), 0);
  EXPECT_EQ(api.GetFileTypeInfo(1, &type), 0);
  EXPECT_EQ(std::memcmp(&type, &untouched, sizeof type), 0);
  EXPECT_EQ(api.GetFileTypeInfo(0, nullptr), 0);
  EXPECT_EQ(api.GetFileTypeInfo(0, &type), 1);
  EXPECT_STREQ(type.extension, ".wav");
  EXPECT_STREQ(type.description, "RIFF WAVE File");
  EXPECT_EQ(+type.flags, WAVESTREAM_TYPE_INPUT | WAVESTREAM_TYPE_OUTPUT);
}

struct ReadCase {
  const char *what;
  QByteArray file;
  WaveStreamFormat format;
  QByteArray frames;
};

static std::vector<ReadCase> ReadCases() {
  std::vector<ReadCase> cases;
  auto plain = [&](const char *what, std::uint16_t ch, std::uint32_t rate, std::uint16_t bits,
                   int n) {
    const WaveStreamFormat f = Pcm(ch, rate, bits);
    const QByteArray frames = FrameBytes(n, f.blockAlign, n);
    cases.push_back(
        {what, BuildWav({{"fmt ", FmtBody(1, ch, rate, bits)}, {"data", frames}}), f, frames});
  };
  plain("8-bit mono, odd data size", 1, 11025, 8, 37);
  plain("16-bit stereo", 2, 44100, 16, 100);
  plain("24-bit mono, odd data size", 1, 96000, 24, 33);
  plain("32-bit four channels", 4, 48000, 32, 20);
  plain("16-bit six channels", 6, 44100, 16, 10);
  plain("8-bit 255 channels", 255, 8000, 8, 3);
  plain("no frames", 2, 44100, 16, 0);

  {
    const WaveStreamFormat f = Pcm(2, 48000, 24);
    const QByteArray frames = FrameBytes(25, 6);
    cases.push_back({"extensible 24-bit stereo, 20 valid bits",
                     BuildWav({{"fmt ", ExtensibleFmtBody(2, 48000, 24, 20)}, {"data", frames}}), f,
                     frames});
  }
  {
    const WaveStreamFormat f = Pcm(8, 44100, 16);
    const QByteArray frames = FrameBytes(12, 16);
    cases.push_back({"extensible 16-bit eight channels",
                     BuildWav({{"fmt ", ExtensibleFmtBody(8, 44100, 16, 16)}, {"data", frames}}), f,
                     frames});
  }
  {
    // Odd-sized chunks before, between and after, and the format after the data.
    const WaveStreamFormat f = Pcm(1, 22050, 8);
    const QByteArray frames = FrameBytes(7, 1);
    cases.push_back({"data before fmt, odd chunks padded",
                     BuildWav({{"LIST", QByteArray("INFOx")},
                               {"data", frames},
                               {"JUNK", QByteArray("abc")},
                               {"fmt ", FmtBody(1, 1, 22050, 8)},
                               {"LIST", QByteArray("tail")}}),
                     f, frames});
  }
  {
    const WaveStreamFormat f = Pcm(2, 44100, 16);
    const QByteArray frames = FrameBytes(9, 4);
    QByteArray fmt18 = FmtBody(1, 2, 44100, 16);
    AppendLE(fmt18, 0, 2);
    cases.push_back({"18-byte fmt, fact chunk, chunk after data",
                     BuildWav({{"fmt ", fmt18},
                               {"fact", QByteArray("\x09\0\0\0", 4)},
                               {"data", frames},
                               {"id3 ", QByteArray(33, 'T')}}),
                     f, frames});
  }
  {
    const WaveStreamFormat f = Pcm(2, 44100, 16);
    const QByteArray frames = FrameBytes(50, 4);
    cases.push_back({"streamed: data size 0",
                     BuildWav({{"fmt ", FmtBody(1, 2, 44100, 16)}, {"data", frames, 0u}}, 0u), f,
                     frames});
    cases.push_back(
        {"streamed: data size 0xFFFFFFFF",
         BuildWav({{"fmt ", FmtBody(1, 2, 44100, 16)}, {"data", frames, 0xFFFFFFFFu}}, 0xFFFFFFFFu),
         f, frames});
    // A truncated file: the header promises 1000 frames, 50 and a half are there.
    cases.push_back(
        {"truncated inside a frame",
         BuildWav({{"fmt ", FmtBody(1, 2, 44100, 16)}, {"data", frames + "xy", 4000u, false}}), f,
         frames});
  }
  return cases;
}

TEST_F(Kplwav, ReadsEveryVariantExactly) {
  for (const ReadCase &c : ReadCases()) {
    SCOPED_TRACE(c.what);
    const std::string name = Make("variant.wav", c.file);
    WaveStreamFormat format;
    std::memset(&format, 0xAB, sizeof format);
    WaveStreamHandle h = api.OpenStream(name.c_str(), &format);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(SameFormat(format, c.format)) << Show(format) << " / " << Show(c.format);
    WaveStreamFormat again{};
    EXPECT_EQ(api.GetWaveFormat(h, &again), 1);
    EXPECT_TRUE(SameFormat(again, c.format));
    EXPECT_EQ(api.GetWaveFormat(h, nullptr), 0);

    const int align = c.format.blockAlign;
    const int total = static_cast<int>(c.frames.size()) / align;
    EXPECT_EQ(api.GetSampleCount(h), total);
    EXPECT_EQ(api.GetPosition(h), 0);
    EXPECT_EQ(ReadToEnd(h, align, 7), c.frames);
    EXPECT_EQ(api.GetPosition(h), total);
    std::vector<char> one(static_cast<std::size_t>(align));
    EXPECT_EQ(api.Read(h, one.data(), 1), 0) << "at the end";

    if (total > 0) {
      EXPECT_EQ(api.Seek(h, static_cast<std::uint32_t>(total - 1)), total - 1);
      EXPECT_EQ(api.GetPosition(h), total - 1);
      std::vector<char> five(static_cast<std::size_t>(5 * align));
      EXPECT_EQ(api.Read(h, five.data(), 5), 1) << "only the last frame is left";
      EXPECT_EQ(QByteArray(five.data(), align), c.frames.right(align));
      EXPECT_EQ(api.Seek(h, 0), 0);
      EXPECT_EQ(ReadToEnd(h, align, total + 3), c.frames);
    }
    EXPECT_EQ(api.Seek(h, static_cast<std::uint32_t>(total)), -1);
    EXPECT_EQ(api.Seek(h, 0xFFFFFFFFu), -1);
    EXPECT_EQ(api.GetPosition(h), total) << "a refused seek leaves the position";
    EXPECT_EQ(api.Read(h, one.data(), 0), 0);
    EXPECT_EQ(api.Write(h, one.data(), 1), -1) << "a read handle takes no frames";
    EXPECT_EQ(api.CloseStream(h), 1);
    EXPECT_EQ(api.CloseStream(h), 0) << "closed already";
    EXPECT_EQ(api.GetSampleCount(h), -1);
  }
}

TEST_F(Kplwav, OpenStreamWithoutFormatRecordStillOpens) {
  const QByteArray frames = FrameBytes(4, 4);
  const std::string name =
      Make("a.wav", BuildWav({{"fmt ", FmtBody(1, 2, 44100, 16)}, {"data", frames}}));
  WaveStreamHandle h = api.OpenStream(name.c_str(), nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(api.GetSampleCount(h), 4);
  EXPECT_EQ(api.CloseStream(h), 1);
}

TEST_F(Kplwav, RefusesWhatItCannotDecode) {
  const QByteArray frames = FrameBytes(10, 4);
  const QByteArray fmt = FmtBody(1, 2, 44100, 16);
  const QByteArray data = BuildWav({{"fmt ", fmt}, {"data", frames}});
  QByteArray rifx = data;
  rifx.replace(0, 4, "RIFX");
  QByteArray avi = data;
  avi.replace(8, 4, "AVI ");
  const std::pair<const char *, QByteArray> cases[] = {
      {"empty file", QByteArray()},
      {"text", QByteArray("this is not a wave file at all")},
      {"big-endian RIFX", rifx},
      {"RIFF but not WAVE", avi},
      {"header only", data.left(12)},
      {"no data chunk", BuildWav({{"fmt ", fmt}})},
      {"no fmt chunk", BuildWav({{"data", frames}})},
      {"fmt after streamed data", BuildWav({{"data", frames, 0u}, {"fmt ", fmt}})},
      {"fmt chunk too short", BuildWav({{"fmt ", fmt.left(14)}, {"data", frames}})},
      {"fmt cut off by the end of the file", data.left(30)},
      {"floating point", BuildWav({{"fmt ", FmtBody(3, 2, 44100, 32)}, {"data", frames}})},
      {"ADPCM", BuildWav({{"fmt ", FmtBody(2, 2, 44100, 4, 2048)}, {"data", frames}})},
      {"extensible float",
       BuildWav({{"fmt ", ExtensibleFmtBody(2, 44100, 32, 32, 3)}, {"data", frames}})},
      {"extensible without its extension",
       BuildWav({{"fmt ", FmtBody(0xFFFE, 2, 44100, 16)}, {"data", frames}})},
      {"extensible valid bits above container",
       BuildWav({{"fmt ", ExtensibleFmtBody(2, 44100, 16, 24)}, {"data", frames}})},
      {"12-bit", BuildWav({{"fmt ", FmtBody(1, 2, 44100, 12, 3)}, {"data", frames}})},
      {"block align not channels * bits / 8",
       BuildWav({{"fmt ", FmtBody(1, 2, 44100, 16, 6)}, {"data", frames}})},
      {"no channels", BuildWav({{"fmt ", FmtBody(1, 0, 44100, 16, 0)}, {"data", frames}})},
      {"rate 0", BuildWav({{"fmt ", FmtBody(1, 2, 0, 16)}, {"data", frames}})},
      {"bytes per second beyond 32 bits",
       BuildWav({{"fmt ", FmtBody(1, 2, 0xFFFFFFF0u, 16)}, {"data", frames}})},
  };
  for (const auto &[what, bytes] : cases) {
    const std::string name = Make("refused.wav", bytes);
    WaveStreamFormat format{};
    EXPECT_EQ(api.OpenStream(name.c_str(), &format), nullptr) << what;
  }
  EXPECT_EQ(api.OpenStream(nullptr, nullptr), nullptr);
  EXPECT_EQ(api.OpenStream("", nullptr), nullptr);
  EXPECT_EQ(api.OpenStream(Name("missing.wav").c_str(), nullptr), nullptr);
  EXPECT_EQ(api.OpenStream(dir.path().toUtf8().constData(), nullptr), nullptr) << "a folder";
}

TEST_F(Kplwav, InvalidHandlesGetTheFailureValues) {
  int foreign = 42;
  char buffer[64] = {};
  WaveStreamFormat format{};
  for (WaveStreamHandle h :
       {static_cast<WaveStreamHandle>(nullptr), static_cast<WaveStreamHandle>(&foreign)}) {
    EXPECT_EQ(api.Seek(h, 0), -1);
    EXPECT_EQ(api.Read(h, buffer, 1), -1);
    EXPECT_EQ(api.Write(h, buffer, 1), -1);
    EXPECT_EQ(api.CloseStream(h), 0);
    EXPECT_EQ(api.GetWaveFormat(h, &format), 0);
    EXPECT_EQ(api.GetSampleCount(h), -1);
    EXPECT_EQ(api.GetPosition(h), -1);
  }
  EXPECT_EQ(foreign, 42);
  EXPECT_EQ(+format.size, 0) << "the record is left alone";
}

TEST_F(Kplwav, CreateStreamRefusesBadArgumentsAndCreatesNothing) {
  const WaveStreamFormat good = Pcm(2, 44100, 16);
  auto with = [&](auto change) {
    WaveStreamFormat f = good;
    change(f);
    return f;
  };
  const std::pair<const char *, WaveStreamFormat> formats[] = {
      {"size 16", with([](WaveStreamFormat &f) { f.size = 16; })},
      {"size 0", with([](WaveStreamFormat &f) { f.size = 0; })},
      {"bits * channels != align * 8", with([](WaveStreamFormat &f) { f.blockAlign = 2; })},
      {"floating point", with([](WaveStreamFormat &f) { f.formatTag = 3; })},
      {"12 bits", with([](WaveStreamFormat &f) {
         f.bitsPerSample = 12;
         f.blockAlign = 3;
       })},
      {"no channels", with([](WaveStreamFormat &f) {
         f.channels = 0;
         f.blockAlign = 0;
       })},
      {"rate 0", with([](WaveStreamFormat &f) { f.samplesPerSec = 0; })},
  };
  const std::string name = Name("created.wav");
  for (const auto &[what, format] : formats) {
    EXPECT_EQ(api.CreateStream(name.c_str(), &format, 1), nullptr) << what;
    EXPECT_FALSE(QFileInfo::exists(Path("created.wav"))) << what;
  }
  EXPECT_EQ(api.CreateStream(nullptr, &good, 1), nullptr);
  EXPECT_EQ(api.CreateStream("", &good, 1), nullptr);
  EXPECT_EQ(api.CreateStream(name.c_str(), nullptr, 1), nullptr);
  EXPECT_EQ(api.CreateStream(Name("no/such/folder.wav").c_str(), &good, 1), nullptr);
  EXPECT_FALSE(QFileInfo::exists(Path("created.wav")));
}

TEST_F(Kplwav, OverwriteDecidesAboutAnExistingFile) {
  const WaveStreamFormat format = Pcm(1, 8000, 8);
  const std::string name = Make("old.wav", "precious bytes");
  EXPECT_EQ(api.CreateStream(name.c_str(), &format, 0), nullptr);
  EXPECT_EQ(Contents("old.wav"), QByteArray("precious bytes"));

  WaveStreamHandle h = api.CreateStream(name.c_str(), &format, 1);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(api.Write(h, "abc", 3), 3);
  EXPECT_EQ(api.CloseStream(h), 1);
  WaveStreamHandle r = api.OpenStream(name.c_str(), nullptr);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(ReadToEnd(r, 1, 10), QByteArray("abc"));
  api.CloseStream(r);

  const std::string fresh = Name("fresh.wav");
  WaveStreamHandle n = api.CreateStream(fresh.c_str(), &format, 0);
  ASSERT_NE(n, nullptr) << "overwrite 0 creates a file that does not exist";
  EXPECT_EQ(api.CloseStream(n), 1);
}

TEST_F(Kplwav, WriteThenReadRoundTripsBitExactly) {
  struct Case {
    WaveStreamFormat format;
    int frames;
  };
  const Case cases[] = {{Pcm(1, 8000, 8), 0},     {Pcm(1, 11025, 8), 1001},
                        {Pcm(2, 22050, 8), 50},   {Pcm(2, 44100, 16), 4410},
                        {Pcm(1, 96000, 24), 333}, {Pcm(6, 48000, 24), 100},
                        {Pcm(2, 192000, 32), 77}, {Pcm(3, 44100, 16), 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(Show(c.format) + " frames " + std::to_string(c.frames));
    const int align = c.format.blockAlign;
    const QByteArray frames = FrameBytes(c.frames, align, c.frames + align);
    const std::string name = Name("round.wav");
    WaveStreamHandle w = api.CreateStream(name.c_str(), &c.format, 1);
    ASSERT_NE(w, nullptr);
    WaveStreamFormat given{};
    EXPECT_EQ(api.GetWaveFormat(w, &given), 1);
    EXPECT_TRUE(SameFormat(given, c.format));
    EXPECT_EQ(api.Write(w, nullptr, 0), 0);
    EXPECT_EQ(api.Write(w, frames.constData(), -1), -1);
    EXPECT_EQ(api.Write(w, nullptr, 1), -1);
    std::vector<char> buffer(16);
    EXPECT_EQ(api.Read(w, buffer.data(), 1), -1) << "a write handle delivers nothing";
    EXPECT_EQ(api.Seek(w, 0), -1);

    // In pieces of different sizes: 1 frame, then 100, then the rest.
    int written = 0;
    for (int piece : {1, 100, c.frames}) {
      const int n = std::min(piece, c.frames - written);
      EXPECT_EQ(api.Write(w, frames.constData() + written * align, n), n);
      written += n;
      EXPECT_EQ(api.GetSampleCount(w), written);
      EXPECT_EQ(api.GetPosition(w), written);
    }
    EXPECT_EQ(api.CloseStream(w), 1);

    // The sizes in the header were completed, the odd data chunk padded.
    const QByteArray file = Contents("round.wav");
    const qsizetype dataBytes = frames.size();
    ASSERT_EQ(file.size(), 44 + dataBytes + (dataBytes & 1));
    EXPECT_EQ(file.left(4), QByteArray("RIFF"));
    auto le32 = [&](int at) {
      return static_cast<qsizetype>(
          static_cast<unsigned char>(file[at]) | static_cast<unsigned char>(file[at + 1]) << 8 |
          static_cast<unsigned char>(file[at + 2]) << 16 |
          static_cast<std::uint32_t>(static_cast<unsigned char>(file[at + 3])) << 24);
    };
    EXPECT_EQ(le32(4), file.size() - 8);
    EXPECT_EQ(file.mid(36, 4), QByteArray("data"));
    EXPECT_EQ(le32(40), dataBytes);

    WaveStreamFormat read{};
    WaveStreamHandle r = api.OpenStream(name.c_str(), &read);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(SameFormat(read, c.format)) << Show(read);
    EXPECT_EQ(api.GetSampleCount(r), c.frames);
    EXPECT_EQ(ReadToEnd(r, align, 64), frames);
    EXPECT_EQ(api.CloseStream(r), 1);
  }
}

TEST_F(Kplwav, ManyStreamsEachKeepTheirPosition) {
  const QByteArray frames = FrameBytes(20, 2);
  const std::string name =
      Make("many.wav", BuildWav({{"fmt ", FmtBody(1, 1, 8000, 16)}, {"data", frames}}));
  WaveStreamHandle a = api.OpenStream(name.c_str(), nullptr);
  WaveStreamHandle b = api.OpenStream(name.c_str(), nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  char buffer[8];
  EXPECT_EQ(api.Read(a, buffer, 4), 4);
  EXPECT_EQ(api.GetPosition(a), 4);
  EXPECT_EQ(api.GetPosition(b), 0);
  EXPECT_EQ(api.Seek(b, 10), 10);
  EXPECT_EQ(api.Read(b, buffer, 1), 1);
  EXPECT_EQ(QByteArray(buffer, 2), frames.mid(20, 2));
  EXPECT_EQ(api.GetPosition(a), 4);
  api.CloseStream(a);
  api.CloseStream(b);
}

// Damaged and random headers: whatever the plug-in accepts must be self-consistent and readable
// to its end within the buffers the caller gives; nothing may crash or overrun (the sanitizers
// watch). A fixed seed keeps every run the same.
TEST_F(Kplwav, MutatedHeadersNeverCrashIt) {
  const QByteArray f16 = FmtBody(1, 2, 44100, 16);
  const QList<QByteArray> seeds = {
      BuildWav({{"fmt ", f16}, {"data", FrameBytes(16, 4)}}),
      BuildWav({{"fmt ", FmtBody(1, 1, 8000, 8)}, {"data", FrameBytes(15, 1)}}),
      BuildWav({{"fmt ", ExtensibleFmtBody(2, 48000, 24, 24)}, {"data", FrameBytes(6, 6)}}),
      BuildWav({{"LIST", QByteArray("abc")}, {"data", FrameBytes(5, 4)}, {"fmt ", f16}}),
      BuildWav({{"fmt ", f16}, {"data", FrameBytes(8, 4), 0xFFFFFFFFu}}, 0xFFFFFFFFu),
  };
  const std::uint32_t interesting[] = {0u,  1u,          2u,          15u,         16u,        18u,
                                       40u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu};
  std::mt19937 rng(20261211);
  auto below = [&](qsizetype n) {
    return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<std::uint32_t>(n));
  };
  const std::string name = Name("mutated.wav");
  int opened = 0, refused = 0;
  for (int round = 0; round < 5000; ++round) {
    QByteArray bytes;
    if (round % 10 == 9) {
      // Random bytes, half of them behind a real RIFF WAVE start.
      bytes = round % 20 == 9 ? QByteArray("RIFF\x20\0\0\0WAVEfmt ", 16) : QByteArray();
      const int n = below(80);
      for (int i = 0; i < n; ++i)
        bytes.append(static_cast<char>(rng()));
    } else {
      bytes = seeds[below(seeds.size())];
      for (int m = below(4) + 1; m > 0; --m) {
        switch (below(5)) {
        case 0: // flip a bit of the header
          if (!bytes.isEmpty()) {
            const int at = below(std::min<qsizetype>(bytes.size(), 72));
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << below(8)));
          }
          break;
        case 1: // a 32-bit field with a value that tends to break readers
          if (bytes.size() >= 4) {
            const int at = below(std::min<qsizetype>(bytes.size() - 3, 72));
            const std::uint32_t v = interesting[below(std::size(interesting))];
            for (int i = 0; i < 4; ++i)
              bytes[at + i] = static_cast<char>(v >> (8 * i));
          }
          break;
        case 2: // truncate
          bytes.truncate(below(bytes.size() + 1));
          break;
        case 3: // a 16-bit field of the format chunk
          if (bytes.size() >= 36) {
            const int at = 20 + 2 * below(8);
            const std::uint16_t v = static_cast<std::uint16_t>(rng());
            bytes[at] = static_cast<char>(v);
            bytes[at + 1] = static_cast<char>(v >> 8);
          }
          break;
        default: // a random byte anywhere
          if (!bytes.isEmpty())
            bytes[below(bytes.size())] = static_cast<char>(rng());
          break;
        }
      }
    }
    ASSERT_TRUE(WriteBytes(Path("mutated.wav"), bytes));

    WaveStreamFormat format{};
    WaveStreamHandle h = api.OpenStream(name.c_str(), &format);
    if (!h) {
      ++refused;
      continue;
    }
    ++opened;
    ASSERT_EQ(+format.size, 18);
    ASSERT_EQ(+format.formatTag, 1);
    ASSERT_GT(+format.blockAlign, 0);
    ASSERT_EQ(format.bitsPerSample * format.channels, format.blockAlign * 8);
    const int total = api.GetSampleCount(h);
    ASSERT_GE(total, 0);
    ASSERT_LE(static_cast<qsizetype>(total) * format.blockAlign, bytes.size());
    const QByteArray all = ReadToEnd(h, format.blockAlign, below(9) + 1);
    ASSERT_EQ(all.size(), static_cast<qsizetype>(total) * format.blockAlign);
    ASSERT_TRUE(bytes.contains(all)) << "frames come from the file";
    ASSERT_EQ(api.Seek(h, static_cast<std::uint32_t>(total)), -1);
    ASSERT_EQ(api.CloseStream(h), 1);
  }
  // Both ways through the reader were taken many times.
  EXPECT_GT(opened, 500);
  EXPECT_GT(refused, 500);
}
