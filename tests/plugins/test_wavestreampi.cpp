// TWaveStreamPI: discovery, binding, the open-handle list and the lock, against real plug-ins.
#include "plugins/wavestreampi.h"

#include "messages/format.h"
#include "messages/str.h"
#include "plugins/testplugins.h"

#include <QFileInfo>
#include <thread>
#include <vector>

using str::Format;

namespace {

// A small file for the test plug-ins, which read any file as 8-bit mono frames.
class TSampleFile {
public:
  explicit TSampleFile(const QString &name, const QByteArray &bytes = "0123456789")
      : path_(dir_.filePath(name)) {
    QFile f(path_);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  const QString &Path() const { return path_; }

private:
  QTemporaryDir dir_;
  QString path_;
};

} // namespace

TEST(TWaveStreamPI, ExtensionOfFileName) {
  const std::pair<const char *, const char *> cases[] = {{"/a/b/X.WAV", ".WAV"},
                                                         {"x.tar.gz", ".gz"},
                                                         {"/dir.d/name", ""},
                                                         {"noext", ""},
                                                         {"trail.", "."},
                                                         {"/a/.hidden", ".hidden"},
                                                         {"", ""}};
  for (const auto &[name, extension] : cases)
    EXPECT_EQ(WaveStreamExtensionOf(QString::fromUtf8(name)), QString::fromUtf8(extension)) << name;
}

TEST(TWaveStreamPI, DiscoveryTakesNameVersionFlagsAndUsableTypes) {
  TWaveStreamPI pi(TestPluginPath("mixed", "tp_good"));
  EXPECT_EQ(pi.Name(), QStringLiteral("Test Good"));
  EXPECT_EQ(pi.Version(), 7);
  // Reserved capability bits are masked off; the type bits are the OR of the registered types.
  EXPECT_EQ(pi.Flags(), WAVESTREAM_CAPS_ABOUT | WAVESTREAM_CAPS_CONFIG | WAVESTREAM_TYPE_INPUT |
                            WAVESTREAM_TYPE_OUTPUT);
  // The refused index and the second spelling of ".tst" are skipped; reserved type bits go.
  ASSERT_EQ(pi.FileTypes().size(), 2);
  EXPECT_EQ(pi.FileTypes()[0].Text(), QStringLiteral(".tst=Test File"));
  EXPECT_EQ(pi.FileTypes()[0].Flags, WAVESTREAM_TYPE_INPUT);
  EXPECT_EQ(pi.FileTypes()[1].Text(), QStringLiteral(".tso=Test Output"));
  EXPECT_EQ(pi.FileTypes()[1].Flags, WAVESTREAM_TYPE_OUTPUT);
  EXPECT_FALSE(pi.IsBound());

  EXPECT_EQ(pi.TypeFlagsFor(QStringLiteral("/x/a.TST")), 1);
  EXPECT_EQ(pi.TypeFlagsFor(QStringLiteral("a.tso")), 2);
  EXPECT_TRUE(pi.CanRead(QStringLiteral("a.Tst")));
  EXPECT_FALSE(pi.CanRead(QStringLiteral("a.tso")));
  EXPECT_FALSE(pi.CanRead(QStringLiteral("a.ref")));
  EXPECT_FALSE(pi.CanRead(QStringLiteral("tst")));
  EXPECT_FALSE(pi.CanRead(QStringLiteral("/x.tst/file")));
}

TEST(TWaveStreamPI, TypesDifferingOnlyInCaseKeepTheFirst) {
  TWaveStreamPI pi(TestPluginPath("mixed", "tp_case_twins"));
  ASSERT_EQ(pi.FileTypes().size(), 1);
  EXPECT_EQ(pi.FileTypes()[0].Text(), QStringLiteral(".twn=First Twin"));
  EXPECT_EQ(pi.Flags(), WAVESTREAM_TYPE_INPUT);
}

TEST(TWaveStreamPI, UnusablePluginsRaiseTheirMessage) {
  struct Case {
    const char *name;
    const QString &message;
  };
  const Case cases[] = {{"tp_no_getcaps", str::_err_s_WSInvalidPlugin},
                        {"tp_no_period", str::_err_s_WSNoSupportFileType},
                        {"tp_flags_zero", str::_err_s_WSNoSupportFileType},
                        {"tp_refuses", str::_err_s_PluginDllLoadError}};
  for (const Case &c : cases) {
    const QString path = TestPluginPath("mixed", c.name);
    EXPECT_EQ(RaisedMessage([&] { TWaveStreamPI pi(path); }), Format(c.message, {path})) << c.name;
    EXPECT_FALSE(IsMapped(path)) << c.name << " stays loaded after its failure";
  }
}

TEST(TWaveStreamPI, BindKeepsAboutWithItsExportAndDropsConfigWithout) {
  TWaveStreamPI pi(TestPluginPath("mixed", "tp_good"));
  TPluginProbe probe(pi.Path());
  ASSERT_TRUE(probe.Ok());
  pi.ShowAbout(nullptr); // not bound yet: nothing to call
  EXPECT_EQ(probe.Count("abouts"), 0);
  pi.Bind();
  EXPECT_TRUE(pi.IsBound());
  EXPECT_TRUE(pi.HasAbout());
  EXPECT_FALSE(pi.HasConfig());
  EXPECT_EQ(pi.Flags(), WAVESTREAM_CAPS_ABOUT | WAVESTREAM_TYPE_INPUT | WAVESTREAM_TYPE_OUTPUT);
  pi.Bind(); // bound already
  EXPECT_TRUE(pi.HasAbout());

  int window = 0;
  pi.ShowAbout(&window);
  EXPECT_EQ(probe.Count("abouts"), 1);
  EXPECT_EQ(probe.LastParent(), &window);
  pi.ShowAbout(nullptr);
  EXPECT_EQ(probe.LastParent(), nullptr);
  pi.ShowConfig(&window); // no settings page: nothing happens
  EXPECT_EQ(probe.Count("abouts"), 2);
}

TEST(TWaveStreamPI, InputWithoutReadNeverBinds) {
  const QString path = TestPluginPath("badbind", "tp_no_read");
  TWaveStreamPI pi(path);
  const QString expected = Format(str::_err_s_WSInvalidPlugin, {path});
  EXPECT_EQ(RaisedMessage([&] { pi.Bind(); }), expected);
  EXPECT_FALSE(pi.IsBound());
  EXPECT_EQ(RaisedMessage([&] { pi.Bind(); }), expected) << "a second attempt fails the same";
  // Nothing of the failed binding is used: opening reports the missing input function.
  TSampleFile file(QStringLiteral("a.nrd"));
  EXPECT_EQ(RaisedMessage([&] { pi.OpenHandle(file.Path(), nullptr); }),
            Format(str::_err_s_WSNoInputFunction, {QStringLiteral("tp_no_read.kpl")}));
}

TEST(TWaveStreamPI, HandlesAreTrackedAndClosedOnce) {
  TSampleFile file(QStringLiteral("a.tst"));
  const QString path = TestPluginPath("mixed", "tp_good");
  TPluginProbe probe(path);
  ASSERT_TRUE(probe.Ok());
  const int closesBefore = probe.Count("closes");
  {
    TWaveStreamPI pi(path);
    EXPECT_EQ(RaisedMessage([&] { pi.OpenHandle(file.Path(), nullptr); }),
              Format(str::_err_s_WSNoInputFunction, {QStringLiteral("tp_good.kpl")}))
        << "not bound";
    pi.Bind();
    WaveStreamFormat format{};
    WaveStreamHandle a = pi.OpenHandle(file.Path(), &format);
    WaveStreamHandle b = pi.OpenHandle(file.Path(), nullptr);
    WaveStreamHandle c = pi.OpenHandle(file.Path(), nullptr);
    EXPECT_EQ(+format.size, 18);
    EXPECT_EQ(pi.OpenHandles(), QList<WaveStreamHandle>({a, b, c}));
    EXPECT_EQ(pi.SampleCountOf(a), 10);

    char buffer[16] = {};
    EXPECT_EQ(pi.ReadHandle(a, buffer, 4), 4);
    EXPECT_EQ(QByteArray(buffer, 4), QByteArray("0123"));
    EXPECT_EQ(pi.ReadHandle(a, buffer, 16), 6);
    EXPECT_EQ(pi.ReadHandle(a, buffer, 16), 0);

    int foreign = 0;
    EXPECT_EQ(pi.ReadHandle(&foreign, buffer, 1), -1);
    EXPECT_EQ(pi.SampleCountOf(&foreign), -1);
    EXPECT_EQ(pi.ReadHandle(nullptr, buffer, 1), -1);
    pi.CloseHandle(&foreign);
    pi.CloseHandle(nullptr);
    EXPECT_EQ(probe.Count("closes"), closesBefore);

    pi.CloseHandle(b);
    pi.CloseHandle(b); // not open any more: ignored
    EXPECT_EQ(probe.Count("closes"), closesBefore + 1);
    EXPECT_EQ(pi.OpenHandles(), QList<WaveStreamHandle>({a, c}));
    EXPECT_EQ(pi.ReadHandle(b, buffer, 1), -1);
    EXPECT_EQ(pi.SampleCountOf(b), -1);
  }
  // The destructor closed the two handles still open before the library went.
  EXPECT_EQ(probe.Count("closes"), closesBefore + 3);
  EXPECT_EQ(probe.Count("open streams"), 0);
}

TEST(TWaveStreamPI, RefusedFileRaisesInputOpenWithTheName) {
  TSampleFile file(QStringLiteral("song.tst"));
  TWaveStreamPI failing(TestPluginPath("openfails", "tp_open_fails"));
  failing.Bind();
  EXPECT_EQ(RaisedMessage([&] { failing.OpenHandle(file.Path(), nullptr); }),
            Format(str::_err_s_WSInputOpen, {file.Path()}));
  EXPECT_TRUE(failing.OpenHandles().isEmpty());

  TWaveStreamPI good(TestPluginPath("mixed", "tp_good"));
  good.Bind();
  const QString missing = file.Path() + QStringLiteral(".missing.tst");
  EXPECT_EQ(RaisedMessage([&] { good.OpenHandle(missing, nullptr); }),
            Format(str::_err_s_WSInputOpen, {missing}));
  EXPECT_EQ(RaisedMessage([&] { good.OpenHandle(QString(), nullptr); }),
            Format(str::_err_s_WSInputOpen, {QString()}))
      << "an empty name reaches the plug-in as an empty string";
}

TEST(TWaveStreamPI, CallsIntoOnePluginNeverOverlap) {
  TSampleFile file(QStringLiteral("long.tst"), QByteArray(1000, 'x'));
  const QString path = TestPluginPath("mixed", "tp_good");
  TPluginProbe probe(path);
  ASSERT_TRUE(probe.Ok());
  TWaveStreamPI pi(path);
  pi.Bind();
  const int overlapsBefore = probe.Count("overlaps");

  // Two threads read two streams of one plug-in at once, one frame per call.
  auto readAll = [&](WaveStreamHandle h) {
    char frame;
    while (pi.ReadHandle(h, &frame, 1) == 1) {
    }
  };
  WaveStreamHandle a = pi.OpenHandle(file.Path(), nullptr);
  WaveStreamHandle b = pi.OpenHandle(file.Path(), nullptr);
  std::thread ta(readAll, a), tb(readAll, b);
  ta.join();
  tb.join();
  EXPECT_EQ(probe.Count("overlaps"), overlapsBefore);

  // The same reads without the host's lock do overlap: the plug-in would see it.
  void *module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(module, nullptr);
  auto read = reinterpret_cast<WaveStreamReadFn>(dlsym(module, "Read"));
  ASSERT_NE(read, nullptr);
  WaveStreamHandle c = pi.OpenHandle(file.Path(), nullptr);
  WaveStreamHandle d = pi.OpenHandle(file.Path(), nullptr);
  auto readRaw = [&](WaveStreamHandle h) {
    char frame;
    while (read(h, &frame, 1) == 1) {
    }
  };
  std::thread tc(readRaw, c), td(readRaw, d);
  tc.join();
  td.join();
  dlclose(module);
  EXPECT_GT(probe.Count("overlaps"), overlapsBefore);
}
