// Import and export of ID3 tag settings files.
#include "settings/tagsettingsfile.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "settings/inifile.h"
#include "settings/storekeys.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {

constexpr int MaxRevision = 254;
constexpr int TextCodesV23 = 3; // ISO-8859-1, UTF-16, UTF-16BE
constexpr int TextCodesV24 = 4; // and UTF-8
constexpr int DefaultTextCode = 1;
constexpr int MaxPadSize = 4096;

void TakeRevision(const TIniDocument &doc, const QString &name, int &revision) {
  const int value = doc.ReadInteger(storesection::Tag, name, 0);
  if (value >= 0 && value <= MaxRevision)
    revision = value;
}

int TextCode(const TIniDocument &doc, const QString &name, int count) {
  const int value = doc.ReadInteger(storesection::Tag, name, DefaultTextCode);
  return value >= 0 && value < count ? value : DefaultTextCode;
}

} // namespace

void ImportTagSettings(const QString &path, TTagSettings &settings) {
  if (!QFileInfo::exists(path))
    throw TError(str::Format(str::_err_ss_SettingsFileRead,
                             {QDir::toNativeSeparators(path),
                              QString::fromStdString(std::generic_category().message(ENOENT))}));
  const TIniDocument doc = TIniFileStore(path).Read();
  const TTagSettings defaults;

  settings.UseTagInfo = doc.ReadBool(storesection::Tag, storekey::UseTagInfo, defaults.UseTagInfo);
  settings.TagVerMJ =
      doc.ReadInteger(storesection::Tag, storekey::TagVerMJ, defaults.TagVerMJ) == 4 ? 4 : 3;
  TakeRevision(doc, storekey::TagVerMNV23, settings.TagVerMNV23);
  TakeRevision(doc, storekey::TagVerMNV24, settings.TagVerMNV24);
  settings.TagTextCodeV23 = TextCode(doc, storekey::TagTextCodeV23, TextCodesV23);
  settings.TagTextCodeV24 = TextCode(doc, storekey::TagTextCodeV24, TextCodesV24);
  settings.TagPadSize = std::clamp(
      doc.ReadInteger(storesection::Tag, storekey::TagPadSize, defaults.TagPadSize), 0, MaxPadSize);
  settings.TagTermNull =
      doc.ReadBool(storesection::Tag, storekey::TagTermNull, defaults.TagTermNull);

  if (!doc.ReadItemList(storesection::TagList, settings.TagList))
    settings.TagList.clear();
}

void ExportTagSettings(const QString &path, const TTagSettings &settings) {
  TIniFileStore file(path);
  TIniDocument doc = file.Read();

  doc.WriteBool(storesection::Tag, storekey::UseTagInfo, settings.UseTagInfo);
  doc.WriteInteger(storesection::Tag, storekey::TagVerMJ, settings.TagVerMJ == 4 ? 4 : 3);
  doc.WriteInteger(storesection::Tag, storekey::TagVerMNV23, settings.TagVerMNV23 & 0xFF);
  doc.WriteInteger(storesection::Tag, storekey::TagVerMNV24, settings.TagVerMNV24 & 0xFF);
  doc.WriteInteger(storesection::Tag, storekey::TagTextCodeV23, settings.TagTextCodeV23);
  doc.WriteInteger(storesection::Tag, storekey::TagTextCodeV24, settings.TagTextCodeV24);
  doc.WriteInteger(storesection::Tag, storekey::TagPadSize, settings.TagPadSize);
  doc.WriteBool(storesection::Tag, storekey::TagTermNull, settings.TagTermNull);

  doc.WriteItemList(storesection::TagList, settings.TagList);
  file.Write(doc);
}
