// The tests' own loader for kplape, following the host's entry-point convention: dlopen, the
// attach call, the exports bound by name; detach and dlclose when it goes. With a codec library
// given, the plug-in is first copied into a fresh directory with that library beside it (each
// copy is a module of its own, with its own state).
#pragma once

#include "plugins/wavestream.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <memory>

// Points the user's configuration folder (where the plug-in keeps kplape.ini) at a temporary
// directory for the whole test process, and returns it.
inline QString TestConfigHome() {
  static QTemporaryDir home;
  static const bool set = qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
  (void)set;
  return home.path();
}

// Where the plug-in keeps its setting within TestConfigHome().
inline QString TestSettingsFile() {
  return TestConfigHome() + "/Kelmora/quarrow/kplape.ini";
}

struct TKplApe {
  void *Module = nullptr;
  int AttachResult = 0;
  std::unique_ptr<QTemporaryDir> Dir;
  QString PluginPath;

  WaveStreamEntryPointFn DllProcessEntry = nullptr;
  WaveStreamGetCapsFn GetCaps = nullptr;
  WaveStreamGetFileTypeCountFn GetFileTypeCount = nullptr;
  WaveStreamGetFileTypeInfoFn GetFileTypeInfo = nullptr;
  WaveStreamOpenStreamFn OpenStream = nullptr;
  WaveStreamSeekFn Seek = nullptr;
  WaveStreamReadFn Read = nullptr;
  WaveStreamCreateStreamFn CreateStream = nullptr;
  WaveStreamWriteFn Write = nullptr;
  WaveStreamCloseStreamFn CloseStream = nullptr;
  WaveStreamGetWaveFormatFn GetWaveFormat = nullptr;
  WaveStreamGetSampleCountFn GetSampleCount = nullptr;
  WaveStreamGetPositionFn GetPosition = nullptr;
  WaveStreamAboutDlgFn AboutDlg = nullptr;
  WaveStreamConfigDlgFn ConfigDlg = nullptr;

  static QString BuiltPlugin() { return QStringLiteral(QUARROW_PLUGIN_DIR "/kplape.kpl"); }

  // The built plug-in where the build placed it (beside the real libMAC.so), or a copy of it
  // with `codecLibrary` beside it.
  explicit TKplApe(const QString &codecLibrary = QString()) {
    TestConfigHome();
    PluginPath = BuiltPlugin();
    if (!codecLibrary.isEmpty()) {
      Dir = std::make_unique<QTemporaryDir>();
      PluginPath = Dir->filePath(QStringLiteral("kplape.kpl"));
      if (!QFile::copy(BuiltPlugin(), PluginPath) ||
          !QFile::copy(codecLibrary, Dir->filePath(QStringLiteral("libMAC.so"))))
        return;
    }
    Module = dlopen(QFile::encodeName(PluginPath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!Module)
      return;
    Bind(DllProcessEntry, WAVESTREAM_ENTRY_POINT_NAME);
    Bind(GetCaps, "GetCaps");
    Bind(GetFileTypeCount, "GetFileTypeCount");
    Bind(GetFileTypeInfo, "GetFileTypeInfo");
    Bind(OpenStream, "OpenStream");
    Bind(Seek, "Seek");
    Bind(Read, "Read");
    Bind(CreateStream, "CreateStream");
    Bind(Write, "Write");
    Bind(CloseStream, "CloseStream");
    Bind(GetWaveFormat, "GetWaveFormat");
    Bind(GetSampleCount, "GetSampleCount");
    Bind(GetPosition, "GetPosition");
    Bind(AboutDlg, "AboutDlg");
    Bind(ConfigDlg, "ConfigDlg");
    AttachResult = DllProcessEntry ? DllProcessEntry(WAVESTREAM_PROCESS_ATTACH) : 0;
  }

  ~TKplApe() { Unload(); }

  // Detaches (the plug-in saves its setting) and unloads.
  void Unload() {
    if (!Module)
      return;
    if (DllProcessEntry)
      DllProcessEntry(WAVESTREAM_PROCESS_DETACH);
    dlclose(Module);
    Module = nullptr;
  }

  bool Loaded() const { return Module && AttachResult != 0; }

  template <typename F> void Bind(F &fn, const char *name) {
    fn = reinterpret_cast<F>(dlsym(Module, name));
  }
};
