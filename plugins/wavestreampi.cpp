// TWaveStreamPI: discovery, binding and the stream calls of one plug-in.
#include "plugins/wavestreampi.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

// A plug-in that reports an absurd file type count must not stall the start-up scan.
constexpr int kMaxFileTypes = 65536;

// A text field of a record: up to its first NUL, never past the field even when a plug-in
// forgot the terminator.
template <std::size_t N> QString FieldText(const char (&field)[N]) {
  return QString::fromUtf8(field, static_cast<qsizetype>(strnlen(field, N)));
}

} // namespace

QString WaveStreamExtensionOf(const QString &fileName) {
  const QString name = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot);
}

TWaveStreamPI::TWaveStreamPI(const QString &path) : IPlugin(path, true) {
  Discover();
}

TWaveStreamPI::~TWaveStreamPI() {
  while (!OpenHandles_.isEmpty())
    CloseHandle(OpenHandles_.first());
}

void TWaveStreamPI::Discover() {
  TPluginLock guard(*this);
  const auto getCaps = Resolve<WaveStreamGetCapsFn>("GetCaps");
  const auto getFileTypeCount = Resolve<WaveStreamGetFileTypeCountFn>("GetFileTypeCount");
  const auto getFileTypeInfo = Resolve<WaveStreamGetFileTypeInfoFn>("GetFileTypeInfo");
  if (!getCaps || !getFileTypeCount || !getFileTypeInfo)
    throw TError(str::Format(str::_err_s_WSInvalidPlugin, {Path()}));

  WaveStreamCaps caps{};
  getCaps(&caps);
  Name_ = FieldText(caps.name);
  Version_ = caps.version;
  Flags_ = caps.flags & WAVESTREAM_CAPS_MASK;

  const int count = std::min(getFileTypeCount(), kMaxFileTypes);
  for (int i = 0; i < count; ++i) {
    WaveStreamFileType type{};
    if (!getFileTypeInfo(i, &type))
      continue;
    const QString extension = FieldText(type.extension);
    if (!extension.startsWith(QLatin1Char('.')) || FileTypeFor(extension))
      continue;
    const std::uint32_t flags = type.flags & WAVESTREAM_TYPE_MASK;
    if (flags == 0)
      continue;
    FileTypes_.append({extension, FieldText(type.description), flags});
    Flags_ |= flags;
  }
  if (FileTypes_.isEmpty())
    throw TError(str::Format(str::_err_s_WSNoSupportFileType, {Path()}));
}

const TWaveStreamFileTypeLine *TWaveStreamPI::FileTypeFor(const QString &extension) const {
  for (const TWaveStreamFileTypeLine &line : FileTypes_) {
    if (line.Extension.compare(extension, Qt::CaseInsensitive) == 0)
      return &line;
  }
  return nullptr;
}

void TWaveStreamPI::ClearEntryPoints() {
  OpenStream_ = nullptr;
  Seek_ = nullptr;
  Read_ = nullptr;
  CreateStream_ = nullptr;
  Write_ = nullptr;
  CloseStream_ = nullptr;
  GetWaveFormat_ = nullptr;
  GetSampleCount_ = nullptr;
  GetPosition_ = nullptr;
  AboutDlg_ = nullptr;
  ConfigDlg_ = nullptr;
}

void TWaveStreamPI::Bind() {
  if (IsBound())
    return;
  bool complete = true;
  {
    TPluginLock guard(*this);
    Load();
    if (Flags_ & WAVESTREAM_TYPE_INPUT) {
      OpenStream_ = Resolve<WaveStreamOpenStreamFn>("OpenStream");
      Seek_ = Resolve<WaveStreamSeekFn>("Seek");
      Read_ = Resolve<WaveStreamReadFn>("Read");
      complete = OpenStream_ && Seek_ && Read_;
    }
    if (complete && (Flags_ & WAVESTREAM_TYPE_OUTPUT)) {
      CreateStream_ = Resolve<WaveStreamCreateStreamFn>("CreateStream");
      Write_ = Resolve<WaveStreamWriteFn>("Write");
      complete = CreateStream_ && Write_;
    }
    if (complete) {
      CloseStream_ = Resolve<WaveStreamCloseStreamFn>("CloseStream");
      GetWaveFormat_ = Resolve<WaveStreamGetWaveFormatFn>("GetWaveFormat");
      GetSampleCount_ = Resolve<WaveStreamGetSampleCountFn>("GetSampleCount");
      GetPosition_ = Resolve<WaveStreamGetPositionFn>("GetPosition");
      complete = CloseStream_ && GetWaveFormat_ && GetSampleCount_ && GetPosition_;
    }
    if (complete && (Flags_ & WAVESTREAM_CAPS_ABOUT)) {
      AboutDlg_ = Resolve<WaveStreamAboutDlgFn>("AboutDlg");
      if (!AboutDlg_)
        Flags_ &= ~WAVESTREAM_CAPS_ABOUT;
    }
    if (complete && (Flags_ & WAVESTREAM_CAPS_CONFIG)) {
      ConfigDlg_ = Resolve<WaveStreamConfigDlgFn>("ConfigDlg");
      if (!ConfigDlg_)
        Flags_ &= ~WAVESTREAM_CAPS_CONFIG;
    }
    // A plug-in that failed to bind keeps no entry point: it must not count as bound on the
    // next attempt, nor open streams it could not read or close.
    if (!complete)
      ClearEntryPoints();
  }
  if (!complete)
    throw TError(str::Format(str::_err_s_WSInvalidPlugin, {Path()}));
}

WaveStreamHandle TWaveStreamPI::OpenHandle(const QString &fileName, WaveStreamFormat *format) {
  TPluginLock guard(*this);
  if (!OpenStream_)
    throw TError(str::Format(str::_err_s_WSNoInputFunction, {QFileInfo(Path()).fileName()}));
  const QByteArray name = QFile::encodeName(fileName);
  WaveStreamHandle handle = OpenStream_(name.constData(), format);
  if (!handle)
    throw TError(str::Format(str::_err_s_WSInputOpen, {fileName}));
  OpenHandles_.append(handle);
  return handle;
}

int TWaveStreamPI::ReadHandle(WaveStreamHandle handle, void *buffer, int frames) {
  TPluginLock guard(*this);
  if (!Read_ || !OpenHandles_.contains(handle))
    return -1;
  return Read_(handle, buffer, frames);
}

int TWaveStreamPI::SampleCountOf(WaveStreamHandle handle) {
  TPluginLock guard(*this);
  if (!GetSampleCount_ || !OpenHandles_.contains(handle))
    return -1;
  return GetSampleCount_(handle);
}

void TWaveStreamPI::CloseHandle(WaveStreamHandle handle) {
  TPluginLock guard(*this);
  const qsizetype index = OpenHandles_.indexOf(handle);
  if (index < 0)
    return;
  if (CloseStream_)
    CloseStream_(handle);
  OpenHandles_.removeAt(index);
}

int TWaveStreamPI::TypeFlagsFor(const QString &fileName) {
  TPluginLock guard(*this);
  const QString extension = WaveStreamExtensionOf(fileName);
  if (extension.isEmpty())
    return 0;
  const TWaveStreamFileTypeLine *line = FileTypeFor(extension);
  return line ? static_cast<int>(line->Flags) : 0;
}

bool TWaveStreamPI::CanRead(const QString &fileName) {
  return (TypeFlagsFor(fileName) & WAVESTREAM_TYPE_INPUT) != 0;
}

void TWaveStreamPI::ShowAbout(WaveStreamWindow parent) {
  if (AboutDlg_)
    AboutDlg_(parent);
}

void TWaveStreamPI::ShowConfig(WaveStreamWindow parent) {
  if (ConfigDlg_)
    ConfigDlg_(parent);
}
