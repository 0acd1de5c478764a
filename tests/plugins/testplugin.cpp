// A wave-stream plug-in built only for the host's tests, once per behaviour the host must cope
// with; the TP_* definition given by the build picks the behaviour. Its "files" are any files:
// every byte is one frame of 8-bit mono audio at 8000 Hz.
//
// Besides the interface it exports TestCounter(name), so that a test can see how the host
// called it, and, when the environment names a file in TP_ENTRY_LOG, it appends the entry point
// calls to that file ("attach", "detach"), which outlive the library.
#define WAVESTREAM_PLUGIN
#include "plugins/wavestream.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TypeDef {
  const char *description;
  const char *extension;
  uint32_t flags; // 0xFFFFFFFF: GetFileTypeInfo refuses this index
};

constexpr uint32_t kIn = WAVESTREAM_TYPE_INPUT;
constexpr uint32_t kOut = WAVESTREAM_TYPE_OUTPUT;
constexpr uint32_t kHole = 0xFFFFFFFFu;

#if defined(TP_GOOD)
// Reserved bits set on purpose: the host masks them. The settings page bit comes without its
// export, the about page bit with it. Index 1 is refused, ".Tst" repeats ".tst".
constexpr char kName[] = "Test Good";
constexpr uint32_t kCapsFlags = WAVESTREAM_CAPS_ABOUT | WAVESTREAM_CAPS_CONFIG | 0x15u;
constexpr TypeDef kTypes[] = {{"Test File", ".tst", kIn | 0x8u},
                              {"Refused", ".ref", kHole},
                              {"Other Case", ".Tst", kIn | kOut},
                              {"Test Output", ".tso", kOut}};
#define TP_HAS_ABOUT
#elif defined(TP_SECOND)
constexpr char kName[] = "Test Second";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"Second Test File", ".TST", kIn}, {"Second Only", ".sec", kIn}};
#elif defined(TP_BYSTANDER)
constexpr char kName[] = "Test Bystander";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"Bystander File", ".bys", kIn}};
#elif defined(TP_OPEN_FAILS)
constexpr char kName[] = "Test Open Fails";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"Test File", ".tst", kIn}};
#elif defined(TP_NO_GETCAPS)
constexpr char kName[] = "Test No GetCaps";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"Test File", ".tst", kIn}};
#elif defined(TP_NO_PERIOD)
constexpr char kName[] = "Test No Period";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"No Period", "ape", kIn}};
#elif defined(TP_FLAGS_ZERO)
constexpr char kName[] = "Test Flags Zero";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"Flags Zero", ".tst", 0x4u}};
#elif defined(TP_CASE_TWINS)
constexpr char kName[] = "Test Case Twins";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"First Twin", ".twn", kIn}, {"Second Twin", ".TWN", kIn | kOut}};
#elif defined(TP_NO_READ)
constexpr char kName[] = "Test No Read";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"No Read", ".nrd", kIn}};
#elif defined(TP_REFUSES)
constexpr char kName[] = "Test Refuses";
constexpr uint32_t kCapsFlags = 0;
constexpr TypeDef kTypes[] = {{"Refuses", ".tst", kIn}};
#else
#error "pick one behaviour with a TP_* definition"
#endif

constexpr int kTypeCount = static_cast<int>(sizeof kTypes / sizeof kTypes[0]);

struct Stream {
  std::vector<unsigned char> frames;
  int position = 0;
};

std::set<Stream *> streams;
std::atomic<int> opens{0}, closes{0}, reads{0}, abouts{0}, overlaps{0};
std::atomic<int> inside{0};
std::atomic<void *> lastParent{nullptr};

Stream *StreamOf(WaveStreamHandle h) {
  auto *s = static_cast<Stream *>(h);
  return streams.count(s) ? s : nullptr;
}

void LogEntry(const char *what) {
  if (const char *log = std::getenv("TP_ENTRY_LOG")) {
    if (std::FILE *f = std::fopen(log, "a")) {
      std::fprintf(f, "%s %s\n", kName, what);
      std::fclose(f);
    }
  }
}

template <std::size_t N> void CopyText(char (&field)[N], const char *text) {
  std::strncpy(field, text, N - 1);
  field[N - 1] = '\0';
}

} // namespace

WAVESTREAM_EXPORT int WAVESTREAM_CALL DllProcessEntry(int reason) {
  LogEntry(reason == WAVESTREAM_PROCESS_ATTACH ? "attach" : "detach");
#if defined(TP_REFUSES)
  return reason == WAVESTREAM_PROCESS_ATTACH ? 0 : 1;
#else
  return 1;
#endif
}

WAVESTREAM_EXPORT int TestCounter(const char *name) {
  const std::string n = name;
  if (n == "opens")
    return opens;
  if (n == "closes")
    return closes;
  if (n == "reads")
    return reads;
  if (n == "abouts")
    return abouts;
  if (n == "overlaps")
    return overlaps;
  if (n == "open streams")
    return static_cast<int>(streams.size());
  return -1;
}

WAVESTREAM_EXPORT void *TestLastParent() {
  return lastParent;
}

#if !defined(TP_NO_GETCAPS)
WAVESTREAM_EXPORT void WAVESTREAM_CALL GetCaps(WaveStreamCaps *caps) {
  if (!caps)
    return;
  std::memset(caps, 0, sizeof *caps);
  CopyText(caps->name, kName);
  caps->version = 7;
  caps->flags = kCapsFlags;
}
#endif

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetFileTypeCount(void) {
  return kTypeCount;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetFileTypeInfo(int index, WaveStreamFileType *type) {
  if (!type || index < 0 || index >= kTypeCount || kTypes[index].flags == kHole)
    return 0;
  std::memset(type, 0, sizeof *type);
  CopyText(type->description, kTypes[index].description);
  CopyText(type->extension, kTypes[index].extension);
  type->flags = kTypes[index].flags;
  return 1;
}

WAVESTREAM_EXPORT WaveStreamHandle WAVESTREAM_CALL OpenStream(const char *fileName,
                                                              WaveStreamFormat *format) {
  ++opens;
#if defined(TP_OPEN_FAILS)
  (void)fileName;
  (void)format;
  return nullptr;
#else
  if (!fileName || !*fileName)
    return nullptr;
  std::FILE *f = std::fopen(fileName, "rb");
  if (!f)
    return nullptr;
  auto *s = new Stream;
  int c;
  while ((c = std::fgetc(f)) != EOF)
    s->frames.push_back(static_cast<unsigned char>(c));
  std::fclose(f);
  streams.insert(s);
  if (format)
    *format = {WAVESTREAM_FORMAT_PCM, 1, 8000, 8000, 1, 8, WAVESTREAM_FORMAT_SIZE};
  return s;
#endif
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL Seek(WaveStreamHandle h, uint32_t position) {
  Stream *s = StreamOf(h);
  if (!s || position >= s->frames.size())
    return -1;
  s->position = static_cast<int>(position);
  return s->position;
}

#if !defined(TP_NO_READ)
// Slow on purpose, so that two calls made at the same time would be seen overlapping.
WAVESTREAM_EXPORT int WAVESTREAM_CALL Read(WaveStreamHandle h, void *buffer, int frames) {
  if (inside.fetch_add(1) != 0)
    ++overlaps;
  std::this_thread::sleep_for(std::chrono::microseconds(200));
  ++reads;
  int result = -1;
  if (Stream *s = StreamOf(h)) {
    const int left = static_cast<int>(s->frames.size()) - s->position;
    result = frames < left ? frames : left;
    if (result > 0) {
      std::memcpy(buffer, s->frames.data() + s->position, static_cast<std::size_t>(result));
      s->position += result;
    } else {
      result = 0;
    }
  }
  --inside;
  return result;
}
#endif

WAVESTREAM_EXPORT WaveStreamHandle WAVESTREAM_CALL CreateStream(const char *,
                                                                const WaveStreamFormat *, int) {
  return nullptr;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL Write(WaveStreamHandle, const void *, int) {
  return -1;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL CloseStream(WaveStreamHandle h) {
  Stream *s = StreamOf(h);
  if (!s)
    return 0;
  ++closes;
  streams.erase(s);
  delete s;
  return 1;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetWaveFormat(WaveStreamHandle h, WaveStreamFormat *format) {
  if (!StreamOf(h) || !format)
    return 0;
  *format = {WAVESTREAM_FORMAT_PCM, 1, 8000, 8000, 1, 8, WAVESTREAM_FORMAT_SIZE};
  return 1;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetSampleCount(WaveStreamHandle h) {
  Stream *s = StreamOf(h);
  return s ? static_cast<int>(s->frames.size()) : -1;
}

WAVESTREAM_EXPORT int WAVESTREAM_CALL GetPosition(WaveStreamHandle h) {
  Stream *s = StreamOf(h);
  return s ? s->position : -1;
}

#if defined(TP_HAS_ABOUT)
WAVESTREAM_EXPORT void WAVESTREAM_CALL AboutDlg(WaveStreamWindow parent) {
  ++abouts;
  lastParent = parent;
}
#endif
