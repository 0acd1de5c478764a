// The INI file store.
#include "settings/inifile.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "settings/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TIniDocument TIniFileStore::Read() const {
  QFile file(path_);
  if (!QFileInfo::exists(path_))
    return {};
  if (!file.open(QIODevice::ReadOnly))
    throw TError(str::Format(str::_err_ss_SettingsFileRead,
                             {QDir::toNativeSeparators(path_), file.errorString()}));
  const QByteArray text = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw TError(str::Format(str::_err_ss_SettingsFileRead,
                             {QDir::toNativeSeparators(path_), file.errorString()}));
  return TIniDocument::Parse(text);
}

void TIniFileStore::Write(const TIniDocument &document) {
  WriteFileAtomically(path_, document.Serialize());
}
