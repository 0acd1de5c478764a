// TWaveStreamManager and TWaveInputStream: scanning plug-in folders, the extension map, and
// opening input streams through real plug-ins, kplwav among them.
#include "plugins/wavestreammanager.h"

#include "messages/format.h"
#include "messages/str.h"
#include "plugin-wav/wavbuilder.h"
#include "plugins/testplugins.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <set>

using str::Format;

namespace {

class TFiles {
public:
  QString Make(const QString &name, const QByteArray &bytes = "0123456789") {
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
  }

private:
  QTemporaryDir dir_;
};

std::set<QString> NamesOf(const TWaveStreamManager &m) {
  std::set<QString> names;
  for (int i = 0; i < m.Count(); ++i)
    names.insert(m.Items(i)->Name());
  return names;
}

// The extension map as "ext: name, name" lines.
QStringList MapOf(const TWaveStreamManager &m) {
  QStringList lines;
  for (const TWaveStreamExtension &e : m.Extensions()) {
    QStringList names;
    for (const TWaveStreamPI *pi : e.Plugins)
      names << pi->Name();
    lines << e.Extension + QStringLiteral(": ") + names.join(QStringLiteral(", "));
  }
  lines.sort();
  return lines;
}

} // namespace

TEST(TWaveStreamManager, NoFolderGivesAnEmptyRegistry) {
  TFiles files;
  const QString file = files.Make(QStringLiteral("a.tst"));
  TWaveStreamManager m;
  m.LoadPlugins(QStringLiteral("/nonexistent/quarrow/Plugin"));
  m.LoadPlugins(QString());
  m.LoadPlugins(file); // a file, not a folder
  EXPECT_EQ(m.Count(), 0);
  EXPECT_TRUE(m.Extensions().isEmpty());
  EXPECT_EQ(m.OpenInputStream(file), nullptr);
  m.BindAll();
}

TEST(TWaveStreamManager, ScanSkipsEverythingThatIsNoUsablePlugin) {
  TEntryLog log;
  TWaveStreamManager m;
  m.LoadPlugins(TestPluginDir("mixed"));
  EXPECT_EQ(NamesOf(m),
            (std::set<QString>{QStringLiteral("Test Good"), QStringLiteral("Test Case Twins")}));
  for (int i = 0; i < m.Count(); ++i)
    EXPECT_TRUE(m.Items(i)->IsBound());
  EXPECT_EQ(MapOf(m),
            QStringList({QStringLiteral(".tso: Test Good"), QStringLiteral(".tst: Test Good"),
                         QStringLiteral(".twn: Test Case Twins")}));
  // The plug-ins that were loaded and dropped are unloaded again.
  for (const char *name : {"tp_no_getcaps", "tp_no_period", "tp_flags_zero", "tp_refuses"})
    EXPECT_FALSE(IsMapped(TestPluginPath("mixed", name))) << name;
  EXPECT_TRUE(log.Lines().contains(QStringLiteral("Test Refuses detach")));

  const QString good = TestPluginPath("mixed", "tp_good");
  EXPECT_TRUE(m.IsLoaded(good));
  EXPECT_FALSE(m.IsLoaded(good.toUpper()));
  EXPECT_FALSE(m.IsLoaded(TestPluginPath("mixed", "tp_no_period")));

  // Loading the folder again, however spelt, registers nothing new.
  m.LoadPlugins(TestPluginDir("mixed"));
  m.LoadPlugins(TestPluginDir("mixed") + QStringLiteral("//"));
  EXPECT_EQ(m.Count(), 2);
  EXPECT_EQ(MapOf(m).size(), 3);
}

TEST(TWaveStreamManager, OpensByExtensionWithoutRegardToCase) {
  TFiles files;
  TWaveStreamManager m;
  m.LoadPlugins(TestPluginDir("mixed"));
  for (const char *name : {"X.TST", "y.tst", "z.tSt"}) {
    const QString path = files.Make(QString::fromUtf8(name), "abcde");
    std::unique_ptr<TWaveInputStream> s = m.OpenInputStream(path);
    ASSERT_NE(s, nullptr) << name;
    EXPECT_EQ(s->Plugin()->Name(), QStringLiteral("Test Good"));
    EXPECT_EQ(s->SampleCount, 5);
    EXPECT_EQ(+s->Format.blockAlign, 1);
    EXPECT_EQ(+s->Format.size, 18);
    char buffer[8] = {};
    EXPECT_EQ(s->Read(buffer, 8), 5);
    EXPECT_EQ(QByteArray(buffer, 5), QByteArray("abcde"));
    EXPECT_EQ(s->Read(buffer, 8), 0);
  }
}

TEST(TWaveStreamManager, NoStreamWithoutFileExtensionOrReader) {
  TFiles files;
  TWaveStreamManager m;
  m.LoadPlugins(TestPluginDir("mixed"));
  const QString cases[] = {
      files.Make(QStringLiteral("noperiod")),  // no extension
      files.Make(QStringLiteral("a.unknown")), // nobody registered it
      files.Make(QStringLiteral("a.tso")),     // registered for output only
      files.Make(QStringLiteral("a.ape")),     // only the plug-in without the period had it
      files.Make(QStringLiteral("a.tst")) + QStringLiteral(".gone.tst"), // does not exist
      TestPluginDir("mixed")};                                           // a folder
  for (const QString &path : cases)
    EXPECT_EQ(m.OpenInputStream(path), nullptr) << path.toStdString();
}

TEST(TWaveStreamManager, FirstPluginOfAnExtensionWins) {
  TFiles files;
  const QString file = files.Make(QStringLiteral("a.tst"));
  TPluginProbe good(TestPluginPath("mixed", "tp_good"));
  TPluginProbe second(TestPluginPath("second", "tp_second"));
  ASSERT_TRUE(good.Ok() && second.Ok());
  const int goodOpens = good.Count("opens"), secondOpens = second.Count("opens");

  TWaveStreamManager m;
  m.LoadPlugins(TestPluginDir("mixed"));
  m.LoadPlugins(TestPluginDir("second"));
  EXPECT_TRUE(MapOf(m).contains(QStringLiteral(".tst: Test Good, Test Second")));
  EXPECT_TRUE(MapOf(m).contains(QStringLiteral(".sec: Test Second")));
  std::unique_ptr<TWaveInputStream> s = m.OpenInputStream(file);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Plugin()->Name(), QStringLiteral("Test Good"));
  EXPECT_EQ(good.Count("opens"), goodOpens + 1);
  EXPECT_EQ(second.Count("opens"), secondOpens);
}

TEST(TWaveStreamManager, FailureOfTheFirstIsNotRetriedOnTheNext) {
  TFiles files;
  const QString file = files.Make(QStringLiteral("a.tst"));
  TPluginProbe second(TestPluginPath("second", "tp_second"));
  ASSERT_TRUE(second.Ok());
  const int secondOpens = second.Count("opens");

  TWaveStreamManager m;
  m.LoadPlugins(TestPluginDir("openfails"));
  m.LoadPlugins(TestPluginDir("second"));
  EXPECT_EQ(RaisedMessage([&] { m.OpenInputStream(file); }),
            Format(str::_err_s_WSInputFileError, {file}));
  EXPECT_EQ(second.Count("opens"), secondOpens);
  // The second plug-in still serves what only it registered.
  EXPECT_NE(m.OpenInputStream(files.Make(QStringLiteral("b.sec"))), nullptr);
}

TEST(TWaveStreamManager, BindFailureEndsTheScanAndEveryBindAll) {
  const QString dir = TestPluginDir("badbind");
  const QString noRead = TestPluginPath("badbind", "tp_no_read");
  const QString expected = Format(str::_err_s_WSInvalidPlugin, {noRead});
  // The scan meets the folder's entries in the order the file system lists them.
  const QStringList order =
      QDir(dir).entryList({QStringLiteral("*.kpl")}, QDir::Files, QDir::Unsorted);
  const bool bystanderFirst = order.indexOf(QStringLiteral("tp_bystander.kpl")) <
                              order.indexOf(QStringLiteral("tp_no_read.kpl"));

  TWaveStreamManager m;
  EXPECT_EQ(RaisedMessage([&] { m.LoadPlugins(dir); }), expected);
  EXPECT_TRUE(m.IsLoaded(noRead)) << "registered, unbound";
  EXPECT_EQ(m.IsLoaded(TestPluginPath("badbind", "tp_bystander")), bystanderFirst);
  EXPECT_EQ(m.Count(), bystanderFirst ? 2 : 1);
  EXPECT_EQ(RaisedMessage([&] { m.BindAll(); }), expected);
  EXPECT_EQ(RaisedMessage([&] { m.BindAll(); }), expected);

  TFiles files;
  const QString file = files.Make(QStringLiteral("a.nrd"));
  EXPECT_EQ(RaisedMessage([&] { m.OpenInputStream(file); }),
            Format(str::_err_s_WSInputFileError, {file}));
}

TEST(TWaveInputStream, NeedsAPlugin) {
  EXPECT_EQ(RaisedMessage([] { TWaveInputStream s(nullptr, QStringLiteral("a.tst")); }),
            str::_err_WSInvalidInputPlugin);
}

TEST(TWaveInputStream, StreamWhoseHandleIsClosedAlreadyDoesNothingMore) {
  TFiles files;
  const QString file = files.Make(QStringLiteral("a.tst"));
  TPluginProbe probe(TestPluginPath("mixed", "tp_good"));
  ASSERT_TRUE(probe.Ok());
  TWaveStreamManager m;
  m.LoadPlugins(TestPluginDir("mixed"));
  const int closes = probe.Count("closes");
  {
    std::unique_ptr<TWaveInputStream> s = m.OpenInputStream(file);
    ASSERT_NE(s, nullptr);
    s->Plugin()->CloseHandle(s->Handle());
    EXPECT_EQ(probe.Count("closes"), closes + 1);
    char buffer[4];
    EXPECT_EQ(s->Read(buffer, 4), -1);
  }
  EXPECT_EQ(probe.Count("closes"), closes + 1);
  EXPECT_EQ(probe.Count("open streams"), 0);
}

TEST(TWaveStreamManager, ProgramPluginFolderHoldsKplwavForUpperCaseWav) {
  const QString kplwav = QStringLiteral(QUARROW_PLUGIN_DIR "/kplwav.kpl");
  ASSERT_TRUE(QFileInfo(kplwav).isFile());
  TWaveStreamManager m;
  m.LoadPlugins(QStringLiteral(QUARROW_PLUGIN_DIR));
  ASSERT_TRUE(m.IsLoaded(kplwav));

  // The name crosses to the plug-in as UTF-8, whatever characters it has.
  TFiles files;
  const QByteArray frames = FrameBytes(300, 4);
  for (const QString &name : {QStringLiteral("X.WAV"), QStringLiteral("ライブ 音源.WAV")}) {
    SCOPED_TRACE(name.toStdString());
    const QString file =
        files.Make(name, BuildWav({{"fmt ", FmtBody(1, 2, 44100, 16)}, {"data", frames}}));
    std::unique_ptr<TWaveInputStream> s = m.OpenInputStream(file);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Plugin()->Path(), kplwav);
    EXPECT_EQ(s->SampleCount, 300);
    EXPECT_EQ(+s->Format.channels, 2);
    EXPECT_EQ(+s->Format.samplesPerSec, 44100u);
    EXPECT_EQ(+s->Format.blockAlign, 4);
    QByteArray read(300 * 4, '\0');
    EXPECT_EQ(s->Read(read.data(), 128), 128);
    EXPECT_EQ(s->Read(read.data() + 128 * 4, 1000), 172);
    EXPECT_EQ(s->Read(read.data(), 1), 0);
    EXPECT_EQ(read, frames);
  }
}

TEST(TWaveStreamManager, ProgramPluginFolderIsPluginBesideTheExecutable) {
  int argc = 1;
  char name[] = "test_wavestreammanager";
  char *argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  EXPECT_EQ(TWaveStreamManager::ProgramPluginDirectory(),
            QCoreApplication::applicationDirPath() + QStringLiteral("/Plugin"));
}
