// TWaveStreamPI: one wave-stream plug-in. Discovers its name and file types when constructed,
// binds its stream entry points on demand and keeps the handles it opened. Every call into the
// library except the about and settings pages runs under the plug-in's lock.
#pragma once

#include "plugins/iplugin.h"
#include "plugins/wavestream.h"

#include <QList>
#include <QString>
#include <cstdint>

// One file type a plug-in registered: its extension (with the period), description and type
// flags (WAVESTREAM_TYPE_INPUT / _OUTPUT only).
struct TWaveStreamFileTypeLine {
  QString Extension;
  QString Description;
  std::uint32_t Flags = 0;

  // The line as lists show it: extension, "=", description.
  QString Text() const { return Extension + QLatin1Char('=') + Description; }
};

class TWaveStreamPI : public IPlugin {
public:
  // Loads the library at path and asks it for its capabilities and file types. Raises the
  // errors of IPlugin, _err_s_WSInvalidPlugin when a discovery export is missing and
  // _err_s_WSNoSupportFileType when no usable file type was reported.
  explicit TWaveStreamPI(const QString &path);
  // Closes every handle still open, then unloads the library.
  ~TWaveStreamPI() override;

  // Resolves the stream entry points the declared capabilities require; raises
  // _err_s_WSInvalidPlugin when one is missing. Does nothing once bound.
  void Bind();
  bool IsBound() const { return CloseStream_ != nullptr; }

  // Opens fileName for reading and fills format (may be null). Raises _err_s_WSNoInputFunction
  // when the plug-in has no OpenStream, _err_s_WSInputOpen when the plug-in refuses the file.
  WaveStreamHandle OpenHandle(const QString &fileName, WaveStreamFormat *format);
  // Read, GetSampleCount of an open handle; -1 for a handle that is not open here or when the
  // entry point is not bound.
  int ReadHandle(WaveStreamHandle handle, void *buffer, int frames);
  int SampleCountOf(WaveStreamHandle handle);
  // Closes an open handle; a handle that is not open here is ignored.
  void CloseHandle(WaveStreamHandle handle);

  // The type flags of the file type registered for fileName's extension, 0 when none is.
  int TypeFlagsFor(const QString &fileName);
  bool CanRead(const QString &fileName);

  bool HasAbout() const { return (Flags_ & WAVESTREAM_CAPS_ABOUT) != 0; }
  bool HasConfig() const { return (Flags_ & WAVESTREAM_CAPS_CONFIG) != 0; }
  // Show the plug-in's about or settings page with parent (the native id of the caller's window,
  // or null) when the plug-in has one. Called from the user-interface thread, without the lock.
  void ShowAbout(WaveStreamWindow parent);
  void ShowConfig(WaveStreamWindow parent);

  const QString &Name() const { return Name_; }
  std::uint16_t Version() const { return Version_; }
  // Capabilities bits 30 and 31, and the OR of the registered type flags.
  std::uint32_t Flags() const { return Flags_; }
  const QList<TWaveStreamFileTypeLine> &FileTypes() const { return FileTypes_; }
  // Handles opened and not closed yet, in opening order.
  const QList<WaveStreamHandle> &OpenHandles() const { return OpenHandles_; }

private:
  void Discover();
  const TWaveStreamFileTypeLine *FileTypeFor(const QString &extension) const;
  template <typename Fn> Fn Resolve(const char *name) const {
    return reinterpret_cast<Fn>(Symbol(name));
  }
  void ClearEntryPoints();

  QString Name_;
  std::uint16_t Version_ = 0;
  std::uint32_t Flags_ = 0;
  QList<TWaveStreamFileTypeLine> FileTypes_;
  QList<WaveStreamHandle> OpenHandles_;

  WaveStreamOpenStreamFn OpenStream_ = nullptr;
  WaveStreamSeekFn Seek_ = nullptr;
  WaveStreamReadFn Read_ = nullptr;
  WaveStreamCreateStreamFn CreateStream_ = nullptr;
  WaveStreamWriteFn Write_ = nullptr;
  WaveStreamCloseStreamFn CloseStream_ = nullptr;
  WaveStreamGetWaveFormatFn GetWaveFormat_ = nullptr;
  WaveStreamGetSampleCountFn GetSampleCount_ = nullptr;
  WaveStreamGetPositionFn GetPosition_ = nullptr;
  WaveStreamAboutDlgFn AboutDlg_ = nullptr;
  WaveStreamConfigDlgFn ConfigDlg_ = nullptr;
};

// The extension of a file name: from the last period of its name part, period included; empty
// when the name part has no period.
QString WaveStreamExtensionOf(const QString &fileName);
