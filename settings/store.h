// TSettingsStore: where the settings live. Each store reads its whole content into an INI
// document and writes a whole document back, so the settings code is the same for all stores.
#pragma once

#include "settings/inidocument.h"

class TSettingsStore {
public:
  virtual ~TSettingsStore() = default;
  // The whole content; an empty document when the store does not exist yet.
  virtual TIniDocument Read() const = 0;
  // Replaces the whole content; the old content stays when this fails.
  virtual void Write(const TIniDocument &document) = 0;
};
