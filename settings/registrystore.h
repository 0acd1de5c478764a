// TRegistryStore: the settings under a registry key path "Software\<organisation>\<application>",
// kept through QSettings in its native format (the registry on Windows, a .conf file under
// ~/.config on Linux). Every section is an ordered array of name/value pairs, so that key names
// keep their case, their order and any character they hold.
#pragma once

#include "settings/store.h"

#include <QString>

class TRegistryStore : public TSettingsStore {
public:
  explicit TRegistryStore(QString keyPath) : keyPath_(std::move(keyPath)) {}

  // Raises TError with _err_s_SettingsStoreAccess when the store cannot be read.
  TIniDocument Read() const override;
  // Raises TError with _err_s_SettingsStoreAccess when the store cannot be written.
  void Write(const TIniDocument &document) override;

  // Where QSettings keeps it: the registry key or the file.
  QString Location() const;

private:
  QString keyPath_;
};
