// TIniFileStore: the settings, or a tag settings file, as a UTF-8 INI file.
#pragma once

#include "settings/store.h"

#include <QString>

class TIniFileStore : public TSettingsStore {
public:
  explicit TIniFileStore(QString path) : path_(std::move(path)) {}

  // A missing file reads as empty; a file that exists but cannot be read raises TError with
  // _err_ss_SettingsFileRead.
  TIniDocument Read() const override;
  // Replaces the file atomically (WriteFileAtomically).
  void Write(const TIniDocument &document) override;

private:
  QString path_;
};
