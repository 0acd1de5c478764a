// Reading the version strings of a binary.
#include "shared/fileverinfo.h"

#include "messages/error.h"
#include "shared/strmylib.h"
#include "shared/versionblock.h"

#include <QFileInfo>

TFileVerInfo::TFileVerInfo(const QString &fileName) {
  if (!QFileInfo(fileName).isFile())
    throw TError(QString(strmylib::_err_s_FileNotExists).replace(QLatin1String("%s"), fileName));
  FileName = fileName;
}

bool TFileVerInfo::Load(std::int64_t translation) {
  TVersionBlock block;
  bool malformed = false;
  if (!block.ReadFromFile(FileName, malformed)) {
    if (malformed)
      throw TError(QString());
    return false;
  }
  QList<std::uint32_t> table;
  if (!block.Translations(table))
    throw TError(QString());
  std::uint32_t chosen = table.first();
  if (translation != -1) {
    chosen = static_cast<std::uint32_t>(translation);
    if (translation < 0 || translation > 0xFFFFFFFFll || !table.contains(chosen))
      throw TError(QString());
  }
  const struct {
    const char *key;
    QString TFileVerInfo::*field;
  } keys[] = {
      {"Comments", &TFileVerInfo::Comments},
      {"CompanyName", &TFileVerInfo::CompanyName},
      {"FileDescription", &TFileVerInfo::FileDescription},
      {"FileVersion", &TFileVerInfo::FileVersion},
      {"InternalName", &TFileVerInfo::InternalName},
      {"LegalCopyright", &TFileVerInfo::LegalCopyright},
      {"LegalTrademarks", &TFileVerInfo::LegalTrademarks},
      {"OriginalFilename", &TFileVerInfo::OriginalFilename},
      {"ProductName", &TFileVerInfo::ProductName},
      {"ProductVersion", &TFileVerInfo::ProductVersion},
      {"PrivateBuild", &TFileVerInfo::PrivateBuild},
      {"SpecialBuild", &TFileVerInfo::SpecialBuild},
  };
  for (const auto &k : keys)
    this->*k.field = GetVersionInfoString(block, chosen, QString::fromLatin1(k.key));
  return true;
}
