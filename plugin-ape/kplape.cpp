// kplape: the plug-in's entry point (loading and unloading), its capabilities and file type, and
// the exports that open its dialog.
#define WAVESTREAM_PLUGIN
#include "plugins/wavestream.h"

#include "plugin-ape/apesettings.h"
#include "plugin-ape/configape.h"
#include "plugin-ape/kplapestate.h"
#include "plugin-ape/strape.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>

TKplApeState &KplApe() {
  static TKplApeState state;
  return state;
}

namespace {

// The plug-in file's own path, found from one of its symbols.
std::string OwnPath() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void *>(&DllProcessEntry), &info) == 0 || !info.dli_fname)
    return std::string();
  return info.dli_fname;
}

// Texts copied as strncpy does (the rest of the field NUL-filled), kept one byte shorter than
// the field.
void CopyText(char *field, size_t size, const QString &text) {
  const QByteArray bytes = text.toUtf8().left(static_cast<qsizetype>(size - 1));
  std::memset(field, 0, size);
  std::memcpy(field, bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool Attach() {
  TKplApeState &state = KplApe();
  if (state.Attached > 0) {
    ++state.Attached;
    return true;
  }
  state.PluginPath = OwnPath();
  if (state.PluginPath.empty())
    return false;
  const QString pluginPath = QString::fromUtf8(state.PluginPath.c_str());
  const QString directory = SettingsDirectory();
  if (directory.isEmpty()) {
    // The loader has no channel for a message; the user sees it on standard error.
    std::fprintf(stderr, "%s\n", strape::_cmd_err_createuserprofpath.toUtf8().constData());
    return false;
  }
  if (!state.Mac.Load(QFileInfo(pluginPath).absolutePath().toStdString()))
    return false;
  state.SettingsFile = SettingsFilePath(directory, pluginPath);
  // A stored level outside the slider's range is taken as the slider shows it, so the level
  // the dialog shows is the one that writing uses.
  state.CompressionLevel = ClampCompressionLevel(LoadCompressionLevel(state.SettingsFile));
  state.Attached = 1;
  return true;
}

void Detach() {
  TKplApeState &state = KplApe();
  if (state.Attached == 0 || --state.Attached > 0)
    return;
  // A level that cannot be saved is lost; unloading goes on regardless.
  SaveCompressionLevel(state.SettingsFile, state.CompressionLevel);
  state.Mac.Free();
  state.SettingsFile.clear();
}

void ShowDialog(WaveStreamWindow parent, int page) {
  TKplApeState &state = KplApe();
  // A dialog needs the host's widget application and a loaded plug-in.
  if (state.Attached == 0 || !qobject_cast<QApplication *>(QCoreApplication::instance()))
    return;
  QWidget *owner = parent ? QWidget::find(reinterpret_cast<WId>(parent)) : nullptr;
  int level = state.CompressionLevel;
  if (ExecuteConfigDlg(owner, page, level, QString::fromUtf8(state.PluginPath.c_str()),
                       state.Mac.Version))
    state.CompressionLevel = level;
}

} // namespace

int WAVESTREAM_CALL DllProcessEntry(int reason) {
  try {
    if (reason == WAVESTREAM_PROCESS_ATTACH)
      return Attach() ? 1 : 0;
    if (reason == WAVESTREAM_PROCESS_DETACH)
      Detach();
    return 1;
  } catch (...) {
    return 0;
  }
}

void WAVESTREAM_CALL GetCaps(WaveStreamCaps *caps) {
  if (!caps)
    return;
  CopyText(caps->name, sizeof caps->name, strape::_txt_caps_name);
  caps->version = 80;
  caps->flags = WAVESTREAM_CAPS_CONFIG | WAVESTREAM_CAPS_ABOUT;
}

int WAVESTREAM_CALL GetFileTypeCount(void) {
  return 1;
}

int WAVESTREAM_CALL GetFileTypeInfo(int index, WaveStreamFileType *type) {
  if (!type || index < 0 || index >= GetFileTypeCount())
    return 0;
  CopyText(type->description, sizeof type->description, strape::_txt_filetype_description);
  CopyText(type->extension, sizeof type->extension, strape::_txt_filetype_extension);
  type->flags = WAVESTREAM_TYPE_INPUT | WAVESTREAM_TYPE_OUTPUT;
  return 1;
}

void WAVESTREAM_CALL AboutDlg(WaveStreamWindow parent) {
  try {
    ShowDialog(parent, TConfigDlg::PageAbout);
  } catch (...) {
  }
}

void WAVESTREAM_CALL ConfigDlg(WaveStreamWindow parent) {
  try {
    ShowDialog(parent, TConfigDlg::PageSettings);
  } catch (...) {
  }
}
