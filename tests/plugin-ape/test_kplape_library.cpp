// kplape with stand-in codec libraries beside copies of it: which libraries it accepts, the
// write path and its failures, the stored compression level and the dialog that changes it,
// the settings folder that cannot be made, and the library found only on the search path.
#include "apecodec/macdll.h"
#include "plugin-ape/kplapeloader.h"

#include "plugin-ape/widgetapp.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

QString Fake(const char *variant) {
  return QStringLiteral(FAKEMAC_DIR "/%1/libMAC.so").arg(QLatin1String(variant));
}

const WaveStreamFormat kCdFormat{1, 2, 44100, 176400, 4, 16, 18};

QByteArray ReadFile(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// The level value the fake library was given for a file it wrote.
int WrittenLevel(const QString &path) {
  const QByteArray bytes = ReadFile(path);
  if (!bytes.startsWith("FAKEAPE "))
    return -1;
  return bytes.mid(8, bytes.indexOf('\n') - 8).toInt();
}

class KplApeLibrary : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    TestConfigHome();
    EnsureWidgetApplication();
  }
  void SetUp() override { QFile::remove(TestSettingsFile()); }
  QTemporaryDir out_;
  QString Out(const char *name) const { return out_.filePath(QLatin1String(name)); }
};

TEST_F(KplApeLibrary, RefusesToLoadWithAnIncompatibleOrIncompleteLibrary) {
  for (const char *variant : {"incompatible", "no_finish"}) {
    TKplApe plugin(Fake(variant));
    ASSERT_NE(plugin.Module, nullptr) << variant;
    EXPECT_EQ(plugin.AttachResult, 0) << variant;
  }
  TKplApe plugin(Fake("ok"));
  EXPECT_EQ(plugin.AttachResult, 1);
}

TEST_F(KplApeLibrary, WritesThroughTheCompressor) {
  TKplApe plugin(Fake("ok"));
  ASSERT_TRUE(plugin.Loaded());
  const QByteArray name = QFile::encodeName(Out("out.ape"));
  WaveStreamHandle h = plugin.CreateStream(name.constData(), &kCdFormat, 0);
  ASSERT_NE(h, nullptr);
  std::vector<unsigned char> pcm(1000 * 4);
  for (size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<unsigned char>(i * 7);
  EXPECT_EQ(plugin.Write(h, pcm.data(), 600), 600);
  EXPECT_EQ(plugin.Write(h, pcm.data() + 600 * 4, 400), 400);
  EXPECT_EQ(plugin.Write(h, pcm.data(), 0), 0);
  EXPECT_EQ(plugin.Write(h, nullptr, 5), -1);
  EXPECT_EQ(plugin.Write(h, pcm.data(), -1), -1);
  EXPECT_EQ(plugin.GetSampleCount(h), 1000);
  unsigned char buffer[16];
  EXPECT_EQ(plugin.Read(h, buffer, 1), -1);
  EXPECT_EQ(plugin.Seek(h, 0), -1);
  WaveStreamFormat format;
  ASSERT_EQ(plugin.GetWaveFormat(h, &format), 1);
  EXPECT_EQ(std::memcmp(&format, &kCdFormat, sizeof format), 0);
  EXPECT_EQ(plugin.CloseStream(h), 1);

  // The library got the caller's format record and every byte, then finished the file.
  const QByteArray expected =
      QByteArray("FAKEAPE 2000\n") +
      QByteArray(reinterpret_cast<const char *>(&kCdFormat), sizeof kCdFormat) +
      QByteArray(reinterpret_cast<const char *>(pcm.data()), static_cast<int>(pcm.size())) + "END";
  EXPECT_EQ(ReadFile(Out("out.ape")), expected);

  // Overwrite 0 leaves an existing file alone; overwrite 1 writes it anew.
  EXPECT_EQ(plugin.CreateStream(name.constData(), &kCdFormat, 0), nullptr);
  EXPECT_EQ(ReadFile(Out("out.ape")), expected);
  h = plugin.CreateStream(name.constData(), &kCdFormat, 1);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(plugin.CloseStream(h), 1);
  EXPECT_EQ(ReadFile(Out("out.ape")).size(), static_cast<int>(13 + sizeof kCdFormat + 3));
}

TEST_F(KplApeLibrary, LeavesNoBrokenFileWhenTheCompressorFails) {
  const QByteArray name = QFile::encodeName(Out("out.ape"));
  {
    TKplApe plugin(Fake("start_fails"));
    ASSERT_TRUE(plugin.Loaded());
    EXPECT_EQ(plugin.CreateStream(name.constData(), &kCdFormat, 1), nullptr);
    EXPECT_FALSE(QFile::exists(Out("out.ape")));
  }
  for (const char *variant : {"adddata_fails", "finish_fails"}) {
    TKplApe plugin(Fake(variant));
    ASSERT_TRUE(plugin.Loaded());
    WaveStreamHandle h = plugin.CreateStream(name.constData(), &kCdFormat, 1);
    ASSERT_NE(h, nullptr) << variant;
    unsigned char pcm[64] = {};
    const int written = plugin.Write(h, pcm, 16);
    EXPECT_EQ(written, std::strcmp(variant, "adddata_fails") == 0 ? -1 : 16) << variant;
    EXPECT_EQ(plugin.CloseStream(h), 1) << variant;
    EXPECT_FALSE(QFile::exists(Out("out.ape"))) << variant;
  }
}

// The stored level, as the settings file holds it, and the value writing passes to the library.
TEST_F(KplApeLibrary, WritesWithTheStoredCompressionLevel) {
  const struct {
    const char *stored; // null: no settings file
    int value;
    int savedBack;
  } cases[] = {
      {"[System]\nCompressionLevel=0\n", 1000, 0},
      {"[System]\nCompressionLevel=1\n", 2000, 1},
      {"[System]\nCompressionLevel=2\n", 3000, 2},
      {"[System]\nCompressionLevel=3\n", 4000, 3},
      {"[System]\nCompressionLevel=4\n", 5000, 4},
      {"[System]\nCompressionLevel=7\n", 5000, 4},
      {"[System]\nCompressionLevel=-3\n", 1000, 0},
      {"[Other]\nCompressionLevel=3\n[system]\ncompressionlevel = 3\n", 4000, 3},
      {"[System]\nCompressionLevel=abc\n", 2000, 1},
      {nullptr, 2000, 1},
  };
  for (const auto &c : cases) {
    const QString what = c.stored ? QString::fromLatin1(c.stored) : QStringLiteral("(no file)");
    QFile::remove(TestSettingsFile());
    if (c.stored)
      WriteFile(TestSettingsFile(), c.stored);
    {
      TKplApe plugin(Fake("ok"));
      ASSERT_TRUE(plugin.Loaded());
      const QByteArray name = QFile::encodeName(Out("level.ape"));
      WaveStreamHandle h = plugin.CreateStream(name.constData(), &kCdFormat, 1);
      ASSERT_NE(h, nullptr);
      EXPECT_EQ(plugin.CloseStream(h), 1);
      EXPECT_EQ(WrittenLevel(Out("level.ape")), c.value) << what.toStdString();
    }
    // Unloading writes the level back into section System.
    const QByteArray saved = ReadFile(TestSettingsFile());
    EXPECT_TRUE(saved.contains("CompressionLevel=" + QByteArray::number(c.savedBack)) ||
                saved.contains("compressionlevel=" + QByteArray::number(c.savedBack)))
        << what.toStdString() << " -> " << saved.toStdString();
  }
}

// Runs `act` on the plug-in's modal dialog as soon as it shows.
void OnDialog(const std::function<void(QWidget *)> &act) {
  QTimer::singleShot(0, [act] {
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog) {
      ADD_FAILURE() << "no modal dialog";
      return;
    }
    act(dialog);
  });
}

TEST_F(KplApeLibrary, DialogChangesTheLevelOnlyWithOK) {
  WriteFile(TestSettingsFile(), "[System]\nCompressionLevel=7\n");
  TKplApe plugin(Fake("ok"));
  ASSERT_TRUE(plugin.Loaded());
  const QByteArray name = QFile::encodeName(Out("dlg.ape"));
  auto levelWritten = [&] {
    WaveStreamHandle h = plugin.CreateStream(name.constData(), &kCdFormat, 1);
    EXPECT_NE(h, nullptr);
    plugin.CloseStream(h);
    return WrittenLevel(Out("dlg.ape"));
  };

  int shown = -1;
  QString levelText;
  OnDialog([&](QWidget *dialog) {
    auto *slider = dialog->findChild<QSlider *>("FCompressionLevel");
    shown = slider->value();
    levelText = dialog->findChild<QLabel *>("lblCompressionLevelText")->text();
    slider->setValue(1);
    dialog->findChild<QPushButton *>("btnCancel")->click();
  });
  plugin.ConfigDlg(nullptr);
  EXPECT_EQ(shown, 4);
  EXPECT_EQ(levelText, QStringLiteral("Insane"));
  EXPECT_EQ(levelWritten(), 5000) << "Cancel keeps the level";

  OnDialog([&](QWidget *dialog) {
    dialog->findChild<QSlider *>("FCompressionLevel")->setValue(0);
    dialog->findChild<QPushButton *>("btnOK")->click();
  });
  plugin.ConfigDlg(nullptr);
  EXPECT_EQ(levelWritten(), 1000) << "OK takes the slider's position";

  QString page, macVersion;
  OnDialog([&](QWidget *dialog) {
    page = dialog->findChild<QTabWidget *>("pgcMain")->currentWidget()->objectName();
    macVersion = dialog->findChild<QLabel *>("FMacDLLVer")->text();
    dialog->findChild<QPushButton *>("btnCancel")->click();
  });
  plugin.AboutDlg(nullptr);
  EXPECT_EQ(page, QStringLiteral("tbsAbout"));
  EXPECT_EQ(macVersion, QStringLiteral("4.101")) << "the fake library's GetVersionNumber";

  plugin.Unload();
  EXPECT_TRUE(ReadFile(TestSettingsFile()).contains("CompressionLevel=0"));
}

TEST_F(KplApeLibrary, RefusesToLoadWhenTheSettingsFolderCannotBeMade) {
  QTemporaryDir dir;
  const QString blocker = dir.filePath("file");
  WriteFile(blocker, "not a directory");
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker + "/config"));
  TKplApe plugin(Fake("ok"));
  qputenv("XDG_CONFIG_HOME", saved);
  ASSERT_NE(plugin.Module, nullptr);
  EXPECT_EQ(plugin.AttachResult, 0);
}

// The library search path is fixed when a process starts, so these run in a helper process.
TEST_F(KplApeLibrary, FindsTheLibraryOnTheSystemSearchPathOnly) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkpath("plugin") && QDir(dir.path()).mkpath("lib"));
  const QString plugin = dir.filePath("plugin/kplape.kpl");
  ASSERT_TRUE(QFile::copy(TKplApe::BuiltPlugin(), plugin));
  ASSERT_TRUE(
      QFile::copy(QStringLiteral(QUARROW_PLUGIN_DIR "/libMAC.so"), dir.filePath("lib/libMAC.so")));
  const QString file = QStringLiteral(QUARROW_TESTDATA_DIR "/ape/real-3990-3s.ape");

  auto run = [&](const QString &libraryPath, QString &output) {
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", TestConfigHome());
    if (libraryPath.isEmpty())
      env.remove("LD_LIBRARY_PATH");
    else
      env.insert("LD_LIBRARY_PATH", libraryPath);
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(KPLAPE_PROBE), {plugin, file});
    EXPECT_TRUE(probe.waitForFinished(60000));
    output = QString::fromUtf8(probe.readAll());
    return probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
  };
  QString output;
  EXPECT_EQ(run(dir.filePath("lib"), output), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("frames 156556 156556")) << output.toStdString();
  EXPECT_EQ(run(QString(), output), 1) << output.toStdString();
  EXPECT_TRUE(output.contains("attach 0")) << output.toStdString();
}

} // namespace
