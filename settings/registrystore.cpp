// The registry store on QSettings.
#include "settings/registrystore.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"

#include <QSettings>
#include <memory>

namespace {

const QString NameKey = QStringLiteral("name");
const QString ValueKey = QStringLiteral("value");

// QSettings for "Software\<organisation>\<application...>"; a path without the leading
// "Software" part is taken as "<organisation>\<application...>".
std::unique_ptr<QSettings> Open(const QString &keyPath) {
  QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
  // The hive's top key, the first part of the program's own key path.
  const QString top = str::_cmd_userprof_regkey.section(u'\\', 0, 0);
  if (!parts.isEmpty() && parts.front().compare(top, Qt::CaseInsensitive) == 0)
    parts.removeFirst();
  const QString organisation = parts.isEmpty() ? QString() : parts.takeFirst();
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                     parts.join(u'/'));
}

[[noreturn]] void Fail(const QSettings &settings) {
  throw TError(str::Format(str::_err_s_SettingsStoreAccess, {settings.fileName()}));
}

} // namespace

TIniDocument TRegistryStore::Read() const {
  const auto settings = Open(keyPath_);
  if (settings->status() == QSettings::AccessError)
    Fail(*settings);
  TIniDocument document;
  for (const QString &section : settings->childGroups()) {
    const int count = settings->beginReadArray(section);
    for (int i = 0; i < count; ++i) {
      settings->setArrayIndex(i);
      document.AppendString(section, settings->value(NameKey).toString(),
                            settings->value(ValueKey).toString());
    }
    settings->endArray();
  }
  return document;
}

void TRegistryStore::Write(const TIniDocument &document) {
  const auto settings = Open(keyPath_);
  settings->clear();
  for (const QString &section : document.Sections()) {
    const QList<TIniDocument::TEntry> entries = document.Entries(section);
    settings->beginWriteArray(section, static_cast<int>(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
      settings->setArrayIndex(static_cast<int>(i));
      settings->setValue(NameKey, entries[i].Key);
      settings->setValue(ValueKey, entries[i].Value);
    }
    settings->endArray();
  }
  settings->sync();
  if (settings->status() != QSettings::NoError)
    Fail(*settings);
}

QString TRegistryStore::Location() const {
  return Open(keyPath_)->fileName();
}
