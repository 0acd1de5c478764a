// libMAC.so loaded with dlopen as the plug-in loads it: its exports, the PCM and block counts it
// decodes from real files against the ffmpeg program, block-exact seeking, refused and damaged
// files, and the compressor that fails.
#include "apecodec/apefixtures.h"
#include "apecodec/macdll.h"

#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

using namespace apefixtures;

namespace {

struct MacLibrary {
  void *module = nullptr;
  proc_GetInterfaceCompatibility GetInterfaceCompatibility = nullptr;
  proc_GetVersionNumber GetVersionNumber = nullptr;
  proc_APEDecompress_Create Create = nullptr;
  proc_APEDecompress_Destroy Destroy = nullptr;
  proc_APEDecompress_GetData GetData = nullptr;
  proc_APEDecompress_Seek Seek = nullptr;
  proc_APEDecompress_GetInfo GetInfo = nullptr;
  proc_APECompress_Create CompressCreate = nullptr;
  proc_APECompress_Destroy CompressDestroy = nullptr;
  proc_APECompress_Start CompressStart = nullptr;
  proc_APECompress_AddData CompressAddData = nullptr;
  proc_APECompress_Finish CompressFinish = nullptr;

  MacLibrary() {
    module = dlopen(Path().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
      return;
    Bind(GetInterfaceCompatibility, "GetInterfaceCompatibility");
    Bind(GetVersionNumber, "GetVersionNumber");
    Bind(Create, "c_APEDecompress_Create");
    Bind(Destroy, "c_APEDecompress_Destroy");
    Bind(GetData, "c_APEDecompress_GetData");
    Bind(Seek, "c_APEDecompress_Seek");
    Bind(GetInfo, "c_APEDecompress_GetInfo");
    Bind(CompressCreate, "c_APECompress_Create");
    Bind(CompressDestroy, "c_APECompress_Destroy");
    Bind(CompressStart, "c_APECompress_Start");
    Bind(CompressAddData, "c_APECompress_AddData");
    Bind(CompressFinish, "c_APECompress_Finish");
  }
  ~MacLibrary() {
    if (module)
      dlclose(module);
  }
  static std::string Path() { return std::string(QUARROW_PLUGIN_DIR) + "/" MACDLL_FILE_NAME; }
  template <typename F> void Bind(F &fn, const char *name) {
    fn = reinterpret_cast<F>(dlsym(module, name));
  }
};

MacLibrary &Mac() {
  static MacLibrary library;
  return library;
}

// Decodes the whole stream in chunks of `chunk` blocks; false on any error.
bool DecodeAll(APE_DECOMPRESS_HANDLE h, int blockAlign, ape_intn chunk,
               std::vector<unsigned char> &pcm) {
  std::vector<char> buffer(static_cast<size_t>(chunk * blockAlign));
  for (;;) {
    ape_intn got = -1;
    if (Mac().GetData(h, buffer.data(), chunk, &got) != APE_ERROR_SUCCESS)
      return false;
    if (got == 0)
      return true;
    if (got < 0 || got > chunk)
      return false;
    pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + got * blockAlign);
  }
}

class MacDll : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(Mac().module, nullptr) << dlerror(); }
};

TEST_F(MacDll, ExportsExactlyTheInterfaceFunctions) {
  const std::string command = "nm -D --defined-only '" + MacLibrary::Path() + "'";
  FILE *pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    char address[64], type[8], name[256];
    if (std::sscanf(line, "%63s %7s %255s", address, type, name) == 3 &&
        std::strcmp(type, "T") == 0 && name[0] != '_')
      exported.insert(name);
  }
  ASSERT_EQ(pclose(pipe), 0);
  const std::set<std::string> expected = {
      "GetInterfaceCompatibility", "GetVersionNumber",        "c_APEDecompress_Create",
      "c_APEDecompress_Destroy",   "c_APEDecompress_GetData", "c_APEDecompress_Seek",
      "c_APEDecompress_GetInfo",   "c_APECompress_Create",    "c_APECompress_Destroy",
      "c_APECompress_Start",       "c_APECompress_AddData",   "c_APECompress_Finish"};
  EXPECT_EQ(exported, expected);
}

TEST_F(MacDll, ServesCallersOfInterface3990) {
  EXPECT_EQ(Mac().GetInterfaceCompatibility(3990, 1, nullptr), APE_ERROR_SUCCESS);
  EXPECT_EQ(Mac().GetInterfaceCompatibility(3940, 0, nullptr), APE_ERROR_SUCCESS);
  EXPECT_NE(Mac().GetInterfaceCompatibility(3991, 1, nullptr), APE_ERROR_SUCCESS);
  EXPECT_NE(Mac().GetInterfaceCompatibility(3930, 1, nullptr), APE_ERROR_SUCCESS);
  EXPECT_EQ(Mac().GetVersionNumber(), 3990);
}

class RealFile : public MacDll, public ::testing::WithParamInterface<std::string> {
protected:
  void SetUp() override {
    MacDll::SetUp();
    path_ = DataFile(GetParam());
    bytes_ = ReadBytes(path_);
    oracle_ = FfmpegPcm(path_);
    ASSERT_FALSE(oracle_.empty()) << "ffmpeg could not decode " << path_;
    int error = -1;
    h_ = Mac().Create(path_.c_str(), &error);
    ASSERT_NE(h_, nullptr) << "error " << error;
    EXPECT_EQ(error, APE_ERROR_SUCCESS);
  }
  void TearDown() override {
    if (h_)
      Mac().Destroy(h_);
  }
  std::string path_;
  std::vector<unsigned char> bytes_, oracle_;
  APE_DECOMPRESS_HANDLE h_ = nullptr;
};

TEST_P(RealFile, ReportsTheFormatAndTheDeclaredTotal) {
  APE_WAVEFORMATEX format;
  std::memset(&format, 0xAB, sizeof format);
  ASSERT_EQ(Mac().GetInfo(h_, APE_INFO_WAVEFORMATEX, reinterpret_cast<ape_intn>(&format), 0), 0);
  EXPECT_EQ(format.formatTag, 1);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSec, 44100u);
  EXPECT_EQ(format.bitsPerSample, 16);
  EXPECT_EQ(format.blockAlign, 4);
  EXPECT_EQ(format.avgBytesPerSec, 176400u);
  EXPECT_EQ(format.extraSize, 0);

  const DeclaredHeader header = ReadDeclaredHeader(bytes_);
  const int64_t declared = header.totalBlocks;
  ASSERT_GT(declared, 0);
  EXPECT_EQ(Mac().GetInfo(h_, APE_DECOMPRESS_TOTAL_BLOCKS, 0, 0), declared);
  EXPECT_EQ(Mac().GetInfo(h_, APE_INFO_TOTAL_BLOCKS, 0, 0), declared);
  EXPECT_EQ(static_cast<int64_t>(oracle_.size()), declared * 4);
  EXPECT_EQ(Mac().GetInfo(h_, APE_INFO_FILE_VERSION, 0, 0), header.version);
  EXPECT_EQ(Mac().GetInfo(h_, APE_DECOMPRESS_CURRENT_BLOCK, 0, 0), 0);
}

TEST_P(RealFile, DecodesExactlyWhatFfmpegDecodes) {
  // An odd chunk size makes reads straddle the decoder's frames and the APE frames.
  for (ape_intn chunk : {ape_intn{1001}, ape_intn{588 * 75}}) {
    ASSERT_EQ(Mac().Seek(h_, 0), 0);
    std::vector<unsigned char> pcm;
    ASSERT_TRUE(DecodeAll(h_, 4, chunk, pcm));
    EXPECT_TRUE(pcm == oracle_) << "chunk " << chunk << ": " << pcm.size() << " bytes";
  }
  // At the end: no error, nothing delivered.
  char buffer[64];
  ape_intn got = -1;
  EXPECT_EQ(Mac().GetData(h_, buffer, 16, &got), 0);
  EXPECT_EQ(got, 0);
}

TEST_P(RealFile, SeeksToTheExactBlock) {
  const int64_t total = Mac().GetInfo(h_, APE_DECOMPRESS_TOTAL_BLOCKS, 0, 0);
  const int64_t perFrame = ReadDeclaredHeader(bytes_).blocksPerFrame;
  ASSERT_GT(perFrame, 0);
  // Around every APE frame boundary, inside frames, and backwards after forwards.
  std::vector<int64_t> targets = {0, 1, 4607, 4608, 4609, total / 2, total - 2, total - 1, 3};
  for (int64_t edge = perFrame; edge < total; edge += perFrame)
    for (int64_t d : {-1, 0, 1})
      targets.push_back(edge + d);
  for (int64_t target : targets) {
    ASSERT_EQ(Mac().Seek(h_, target), 0) << target;
    EXPECT_EQ(Mac().GetInfo(h_, APE_DECOMPRESS_CURRENT_BLOCK, 0, 0), target);
    const ape_intn want = 3000;
    std::vector<char> buffer(want * 4);
    ape_intn got = -1;
    ASSERT_EQ(Mac().GetData(h_, buffer.data(), want, &got), 0) << target;
    ASSERT_EQ(got, std::min<int64_t>(want, total - target)) << target;
    EXPECT_EQ(std::memcmp(buffer.data(), oracle_.data() + target * 4, got * 4), 0)
        << "at block " << target;
  }
  EXPECT_NE(Mac().Seek(h_, total), 0);
  EXPECT_NE(Mac().Seek(h_, -1), 0);
}

INSTANTIATE_TEST_SUITE_P(TestData, RealFile, ::testing::ValuesIn(AudioFiles()));

class RefusedFile : public MacDll, public ::testing::WithParamInterface<std::string> {};

TEST_P(RefusedFile, GivesNoDecoder) {
  int error = 0;
  APE_DECOMPRESS_HANDLE h = Mac().Create(DataFile(GetParam()).c_str(), &error);
  EXPECT_EQ(h, nullptr);
  EXPECT_NE(error, APE_ERROR_SUCCESS);
  if (h)
    Mac().Destroy(h);
}

INSTANTIATE_TEST_SUITE_P(TestData, RefusedFile, ::testing::ValuesIn(RefusedFiles()));

TEST_F(MacDll, RefusesMissingAndUnnamedFiles) {
  int error = 0;
  EXPECT_EQ(Mac().Create("/nonexistent/file.ape", &error), nullptr);
  EXPECT_NE(error, 0);
  EXPECT_EQ(Mac().Create(nullptr, nullptr), nullptr);
  EXPECT_EQ(Mac().Create("", nullptr), nullptr);
}

// A real file cut short at many lengths, and one with damaged audio: either refused at once or
// failing while decoding; never the full PCM reported as good, never a crash or a hang.
TEST_F(MacDll, DamagedFilesFailCleanly) {
  const std::vector<unsigned char> whole = ReadBytes(DataFile("real-3990-3s.ape"));
  const size_t audio = static_cast<size_t>(ReadDeclaredHeader(whole).firstFramePosition);
  ASSERT_GT(audio, 0u);
  ASSERT_GT(whole.size(), audio + 1000);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::vector<std::pair<std::string, std::vector<unsigned char>>> cases;
  for (size_t length : {size_t{0}, size_t{4}, size_t{40}, size_t{60}, size_t{120}, audio,
                        audio + 20, whole.size() / 2, whole.size() - 100})
    cases.emplace_back("cut at " + std::to_string(length),
                       std::vector<unsigned char>(whole.begin(), whole.begin() + length));
  for (size_t at : {audio + 1000, whole.size() / 2, whole.size() - 300}) {
    std::vector<unsigned char> damaged = whole;
    for (size_t i = at; i < at + 64; ++i)
      damaged[i] ^= 0x5A;
    cases.emplace_back("damaged at " + std::to_string(at), damaged);
  }
  for (const auto &[name, bytes] : cases) {
    const std::string path = dir.filePath("damaged.ape").toStdString();
    WriteBytes(path, bytes);
    int error = 0;
    APE_DECOMPRESS_HANDLE h = Mac().Create(path.c_str(), &error);
    if (!h) {
      EXPECT_NE(error, 0) << name;
      continue;
    }
    std::vector<unsigned char> pcm;
    EXPECT_FALSE(DecodeAll(h, 4, 4096, pcm)) << name << ": decoded " << pcm.size() << " bytes";
    Mac().Destroy(h);
  }
}

// After a frame fails, reading keeps failing rather than going on with audio from later
// frames under the wrong position; a seek starts afresh.
TEST_F(MacDll, DecodingErrorSticksUntilSeek) {
  std::vector<unsigned char> bytes = ReadBytes(DataFile("real-3990-3s.ape"));
  const std::vector<unsigned char> oracle = FfmpegPcm(DataFile("real-3990-3s.ape"));
  const DeclaredHeader header = ReadDeclaredHeader(bytes);
  // Damage the second APE frame only.
  const size_t second = Le32(bytes, 52 + 24 + 4);
  for (size_t i = second + 100; i < second + 164; ++i)
    bytes[i] ^= 0x5A;
  QTemporaryDir dir;
  const std::string path = dir.filePath("second.ape").toStdString();
  WriteBytes(path, bytes);
  APE_DECOMPRESS_HANDLE h = Mac().Create(path.c_str(), nullptr);
  ASSERT_NE(h, nullptr);
  std::vector<char> buffer(4096 * 4);
  ASSERT_EQ(Mac().Seek(h, header.blocksPerFrame + 10), 0);
  ape_intn got = -1;
  EXPECT_NE(Mac().GetData(h, buffer.data(), 4096, &got), 0);
  EXPECT_NE(Mac().GetData(h, buffer.data(), 4096, &got), 0);
  EXPECT_EQ(got, 0);
  ASSERT_EQ(Mac().Seek(h, 5), 0);
  ASSERT_EQ(Mac().GetData(h, buffer.data(), 4096, &got), 0);
  ASSERT_EQ(got, 4096);
  EXPECT_EQ(std::memcmp(buffer.data(), oracle.data() + 5 * 4, 4096 * 4), 0);
  Mac().Destroy(h);
}

TEST_F(MacDll, CompressorFailsWithAnErrorCode) {
  int error = 0;
  EXPECT_EQ(Mac().CompressCreate(&error), nullptr);
  EXPECT_NE(error, APE_ERROR_SUCCESS);
  EXPECT_EQ(Mac().CompressCreate(nullptr), nullptr);
  APE_WAVEFORMATEX format{1, 2, 44100, 176400, 4, 16, 0};
  unsigned char data[16] = {};
  EXPECT_NE(Mac().CompressStart(nullptr, "/tmp/x.ape", &format, -1, 2000, nullptr, -1), 0);
  EXPECT_NE(Mac().CompressAddData(nullptr, data, 16), 0);
  EXPECT_NE(Mac().CompressFinish(nullptr, nullptr, 0, 0), 0);
  Mac().CompressDestroy(nullptr);
}

TEST_F(MacDll, NullHandlesAreRefused) {
  char buffer[16];
  ape_intn got = 7;
  EXPECT_NE(Mac().GetData(nullptr, buffer, 1, &got), 0);
  EXPECT_EQ(got, 0);
  EXPECT_NE(Mac().Seek(nullptr, 0), 0);
  EXPECT_EQ(Mac().GetInfo(nullptr, APE_DECOMPRESS_TOTAL_BLOCKS, 0, 0), APE_ERROR_UNDEFINED);
  Mac().Destroy(nullptr);
}

} // namespace
