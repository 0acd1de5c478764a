// The settings object: defaults, choice of store, loading and saving in the store's section and
// key order, and the LAME option texts.
#include "settings/settings.h"

#include "macros/quoting.h"
#include "messages/error.h"
#include "messages/str.h"
#include "settings/bangquote.h"
#include "settings/inifile.h"
#include "settings/lamepath.h"
#include "settings/registrystore.h"
#include "settings/storekeys.h"
#include "shared/specialfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <variant>

namespace {

const QString SettingsExtension = QStringLiteral(".ini");

using TField = std::variant<bool TSettings::*, std::int32_t TSettings::*, std::uint8_t TSettings::*,
                            QString TSettings::*>;

// One scalar key of the store: where it lives, the field it fills and its default (a number,
// or a resource text for text keys).
struct TKey {
  const QString &Section;
  const QString &Name;
  TField Field;
  int Number = 0;
  const QString *Text = nullptr;
};

// The scalar keys in the order in which they are read and written.
const std::vector<TKey> &Keys() {
  using S = TSettings;
  static const std::vector<TKey> keys = {
      {storesection::System, storekey::UseCueMacro, &S::UseCueMacro, 0},
      {storesection::System, storekey::UseCueID3Tag, &S::UseCueID3Tag, 0},
      {storesection::System, storekey::UseCueOptions, &S::UseCueOptions, 0},
      {storesection::System, storekey::SetHomeOnSingleDirDrag, &S::SetHomeOnSingleDirDrag, 0},
      {storesection::System, storekey::ShowMenu, &S::ShowMenu, 0},
      {storesection::System, storekey::CheckCRC, &S::CheckCRC, 0},
      {storesection::System, storekey::CRCType, &S::CRCType, 0},
      {storesection::System, storekey::CRCCaption, &S::CRCCaption, 0,
       &str::_env_default_CRCCaption},
      {storesection::Lame, storekey::CompressType, &S::CompressType, 2},
      {storesection::Lame, storekey::CBRPreset, &S::CBRPreset, 8},
      {storesection::Lame, storekey::VBRLevel, &S::VBRLevel, 1},
      {storesection::Lame, storekey::ABRBitRate, &S::ABRBitRate, 128},
      {storesection::Lame, storekey::Quality, &S::Quality, 3},
      {storesection::Lame, storekey::UseVBRLB, &S::UseVBRLB, 0},
      {storesection::Lame, storekey::VBRLB, &S::VBRLB, 0},
      {storesection::Lame, storekey::UseVBRUB, &S::UseVBRUB, 0},
      {storesection::Lame, storekey::VBRUB, &S::VBRUB, 320},
      {storesection::Lame, storekey::CLList, &S::CLList, 0, &str::_env_default_CLList},
      {storesection::Lame, storekey::LamePath, &S::LamePath, 0},
      {storesection::Lame, storekey::CustomOptions, &S::CustomOptions, 0},
      {storesection::Lame, storekey::OtherOption1, &S::OtherOption1, 0,
       &str::_env_default_OtherOption1},
      {storesection::Lame, storekey::OtherOption2, &S::OtherOption2, 0,
       &str::_env_default_OtherOption2},
      {storesection::Lame, storekey::UseOtherOption1, &S::UseOtherOption1, 1},
      {storesection::Lame, storekey::UseOtherOption2, &S::UseOtherOption2, 0},
      {storesection::Tag, storekey::TagVerMJ, &S::TagVerMJ, 3},
      {storesection::Tag, storekey::TagVerMNV23, &S::TagVerMNV23, 0},
      {storesection::Tag, storekey::TagVerMNV24, &S::TagVerMNV24, 0},
      {storesection::Tag, storekey::TagTextCodeV23, &S::TagTextCodeV23, 1},
      {storesection::Tag, storekey::TagTextCodeV24, &S::TagTextCodeV24, 1},
      {storesection::Tag, storekey::TagPadSize, &S::TagPadSize, 256},
      {storesection::Tag, storekey::UseTagInfo, &S::UseTagInfo, 1},
      {storesection::Tag, storekey::TagTermNull, &S::TagTermNull, 0},
      {storesection::Tag, storekey::TagNoEmptyTag, &S::TagNoEmptyTag, 0},
      {storesection::Output, storekey::OutputHomeDirSelection, &S::OutputHomeDirSelection, 0},
      {storesection::Output, storekey::OutputHomeDirName, &S::OutputHomeDirName, 0,
       &str::_env_default_Output_HomeDir},
      {storesection::Output, storekey::OutputMP3DirSelection, &S::OutputMP3DirSelection, 0},
      {storesection::Output, storekey::AddSuffixOnExistDir, &S::AddSuffixOnExistDir, 1},
      {storesection::Output, storekey::MP3DirNameReplace, &S::MP3DirNameReplace, 0},
      {storesection::Output, storekey::OutputMP3DirName, &S::OutputMP3DirName, 0,
       &str::_env_default_MP3DirName},
      {storesection::Output, storekey::OutputFileName, &S::OutputFileName, 0,
       &str::_env_default_FileName},
      {storesection::Output, storekey::AddSuffixOnExistFile, &S::AddSuffixOnExistFile, 1},
      {storesection::Output, storekey::CharMap, &S::CharMap, 0, &str::_env_default_charmap},
      {storesection::Log, storekey::LogCueSentence, &S::LogCueSentence, 0},
      {storesection::Log, storekey::LogCueMacroDef, &S::LogCueMacroDef, 0},
      {storesection::Log, storekey::LogCueID3TagDef, &S::LogCueID3TagDef, 0},
      {storesection::Log, storekey::LogCueOptionDef, &S::LogCueOptionDef, 0},
      {storesection::Log, storekey::LogCmdLine, &S::LogCmdLine, 0},
      {storesection::Log, storekey::LogID3Tag, &S::LogID3Tag, 0},
      {storesection::Log, storekey::LogAutoExpand, &S::LogAutoExpand, 0},
      {storesection::Log, storekey::LogAutoSave, &S::LogAutoSave, 0},
      {storesection::Log, storekey::LogDirName, &S::LogDirName, 0},
      {storesection::CCoordinator, storekey::UseACC, &S::UseACC, 0},
      {storesection::CCoordinator, storekey::AccMatchAsText, &S::AccMatchAsText, 0},
  };
  return keys;
}

// The cue sheet information window's keys in [Status], default -1.
const std::vector<TKey> &StatusKeys() {
  using S = TSettings;
  static const std::vector<TKey> keys = {
      {storesection::Status, storekey::CSWidth, &S::CSWidth, -1},
      {storesection::Status, storekey::CSHeight, &S::CSHeight, -1},
      {storesection::Status, storekey::CSTop, &S::CSTop, -1},
      {storesection::Status, storekey::CSLeft, &S::CSLeft, -1},
  };
  return keys;
}

QString DefaultText(const TKey &key) {
  return key.Text ? *key.Text : QString();
}

void SetDefault(TSettings &settings, const TKey &key) {
  std::visit(
      [&](auto member) {
        using T = std::remove_reference_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<T, QString>)
          settings.*member = DefaultText(key);
        else if constexpr (std::is_same_v<T, bool>)
          settings.*member = key.Number != 0;
        else
          settings.*member = static_cast<T>(key.Number);
      },
      key.Field);
}

void ReadKey(TSettings &settings, const TIniDocument &doc, const TKey &key) {
  const QString &name = key.Name;
  std::visit(
      [&](auto member) {
        using T = std::remove_reference_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<T, QString>)
          settings.*member = doc.ReadString(key.Section, name, DefaultText(key));
        else if constexpr (std::is_same_v<T, bool>)
          settings.*member = doc.ReadBool(key.Section, name, key.Number != 0);
        else if constexpr (std::is_same_v<T, std::uint8_t>)
          settings.*member =
              static_cast<std::uint8_t>(doc.ReadInteger(key.Section, name, key.Number) & 0xFF);
        else
          settings.*member = doc.ReadInteger(key.Section, name, key.Number);
      },
      key.Field);
}

void WriteKey(const TSettings &settings, TIniDocument &doc, const TKey &key) {
  const QString &name = key.Name;
  std::visit(
      [&](auto member) {
        using T = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<T, QString>)
          doc.WriteString(key.Section, name,
                          name == storekey::CharMap ? BangQuote(settings.*member)
                                                    : settings.*member);
        else if constexpr (std::is_same_v<T, bool>)
          doc.WriteBool(key.Section, name, settings.*member);
        else
          doc.WriteInteger(key.Section, name, static_cast<int>(settings.*member));
      },
      key.Field);
}

// A stored character map without its quoting, or the default when it is not nine characters or
// holds a character that may not appear in a file name.
QString CheckedCharMap(const QString &stored) {
  const QString map = BangUnquote(stored);
  if (map.size() != str::_env_default_charmap.size())
    return str::_env_default_charmap;
  for (QChar c : str::_env_default_charmap_inv)
    if (map.contains(c))
      return str::_env_default_charmap;
  return map;
}

QString WithTrailingSeparator(const QString &dir) {
  return dir.endsWith(u'/') ? dir : dir + u'/';
}

// The settings file's name: the program's name with the extension ".ini".
QString IniFileName(const QFileInfo &program) {
  return program.completeBaseName() + SettingsExtension;
}

} // namespace

QString RunningProgramPath() {
  if (QCoreApplication::instance())
    return QCoreApplication::applicationFilePath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

TSettings &Settings() {
  static TSettings settings;
  return settings;
}

TSettings::TSettings() : TSettings(RunningProgramPath()) {}

TSettings::TSettings(const QString &programPath)
    : programPath_(QFileInfo(programPath).absoluteFilePath()) {
  const QFileInfo program(programPath_);
  SettingsPath = WithTrailingSeparator(program.absolutePath()) + IniFileName(program);
  for (const TKey &key : Keys())
    SetDefault(*this, key);
  for (const TKey &key : StatusKeys())
    SetDefault(*this, key);
  TagList = DefaultTagList();
  DirNameReplaceInfo = DefaultDirNameReplaceInfo();
}

TSettings::~TSettings() = default;

QStringList TSettings::DefaultTagList() {
  return SplitBangList(str::_env_default_id3tags, u',');
}

QStringList TSettings::DefaultDirNameReplaceInfo() {
  QStringList rules;
  for (const QString &piece : SplitOutsideQuotes(str::_env_default_DirRenameInfo, u','))
    rules << BangUnquote(piece);
  return rules;
}

void TSettings::Report(const QString &message) const {
  if (ShowError)
    ShowError(message);
  else
    qWarning("%s", qUtf8Printable(message));
}

void TSettings::SelectStore(QChar letter) {
  const QFileInfo program(programPath_);
  const QString name = IniFileName(program);
  if (letter == u'C') {
    TSettingsWriteGuard guard(lock_);
    SettingsPath = WithTrailingSeparator(program.absolutePath()) + name;
  } else if (letter == u'U') {
    try {
      const QString folder = GetSpecialFolderPath(nullptr, CSIDL_LOCAL_APPDATA);
      // Without the per-user folder the directory would land in the file system's root.
      if (folder.isEmpty())
        throw TError(str::_cmd_err_createuserprofpath);
      QString relative = str::_cmd_userprof_path;
      relative.replace(u'\\', u'/');
      const QString dir = WithTrailingSeparator(folder) + relative;
      if (!QFileInfo(dir).isDir() && !QDir().mkpath(dir))
        throw TError(str::_cmd_err_createuserprofpath);
      TSettingsWriteGuard guard(lock_);
      SettingsPath = WithTrailingSeparator(dir) + name;
    } catch (const TError &error) {
      Report(error.Message);
    }
  } else {
    TSettingsWriteGuard guard(lock_);
    UseRegistry = true;
    SettingsPath = str::_cmd_userprof_regkey + program.completeBaseName();
  }
}

std::unique_ptr<TSettingsStore> TSettings::OpenStore() const {
  if (UseRegistry)
    return std::make_unique<TRegistryStore>(SettingsPath);
  return std::make_unique<TIniFileStore>(SettingsPath);
}

void TSettings::Load(TWindowGeometry *window) {
  TSettingsWriteGuard guard(lock_);
  const TIniDocument doc = OpenStore()->Read();

  for (const TKey &key : Keys())
    ReadKey(*this, doc, key);
  if (LamePath.isEmpty())
    LamePath = FindLamePath();

  doc.ReadItemList(storesection::TagList, TagList);
  if (doc.SectionExists(storesection::DirNameReplaceInfo))
    DirNameReplaceInfo = doc.ReadSectionValues(storesection::DirNameReplaceInfo);
  doc.ReadItemList(storesection::ACCInfo, ACCInfo);

  if (window) {
    window->Width = doc.ReadInteger(storesection::Status, storekey::Width, window->Width);
    window->Height = doc.ReadInteger(storesection::Status, storekey::Heigth, window->Height);
    window->Top = doc.ReadInteger(storesection::Status, storekey::Top, window->Top);
    window->Left = doc.ReadInteger(storesection::Status, storekey::Left, window->Left);
  }
  for (const TKey &key : StatusKeys())
    ReadKey(*this, doc, key);

  ParseLevelList(LevelCount, CLList, LevelTable);
  CharMap = CheckedCharMap(CharMap);
}

void TSettings::Save(const TWindowGeometry *window) {
  TSettingsWriteGuard guard(lock_);
  const std::unique_ptr<TSettingsStore> store = OpenStore();
  TIniDocument doc = store->Read();

  for (const TKey &key : Keys())
    WriteKey(*this, doc, key);

  doc.WriteItemList(storesection::TagList, TagList);
  doc.EraseSection(storesection::DirNameReplaceInfo);
  for (const QString &rule : DirNameReplaceInfo) {
    const qsizetype eq = rule.indexOf(u'=');
    doc.AppendString(storesection::DirNameReplaceInfo, eq < 0 ? rule : rule.left(eq),
                     eq < 0 ? QString() : rule.mid(eq + 1));
  }
  doc.WriteItemList(storesection::ACCInfo, ACCInfo);

  if (window) {
    doc.WriteInteger(storesection::Status, storekey::Width, window->Width);
    doc.WriteInteger(storesection::Status, storekey::Heigth, window->Height);
    doc.WriteInteger(storesection::Status, storekey::Top, window->Top);
    doc.WriteInteger(storesection::Status, storekey::Left, window->Left);
  }
  for (const TKey &key : StatusKeys())
    WriteKey(*this, doc, key);

  store->Write(doc);
}

QString TSettings::BoundOptions() const {
  QString text;
  if (UseVBRLB)
    text = QStringLiteral("-b %1").arg(VBRLB);
  if (UseVBRUB) {
    if (!text.isEmpty())
      text += u' ';
    text += QStringLiteral("-B %1").arg(VBRUB);
  }
  return text;
}

QString TSettings::CurrentOptions() const {
  QString text;
  const QString bounds = BoundOptions();
  switch (CompressType) {
  case 0:
    text = MethodOptions(ltCBR, CBRPreset);
    break;
  case 1:
  case 2:
    text = CompressType == 1 ? MethodOptions(ltABR, ABRBitRate) : MethodOptions(ltVBR, VBRLevel);
    if (!bounds.isEmpty())
      text += u' ' + bounds;
    break;
  case 3:
    text = CustomOptions;
    break;
  default:
    break;
  }
  text += QualityOption(Quality);
  if (UseOtherOption1)
    text += u' ' + OtherOption1;
  if (UseOtherOption2)
    text += u' ' + OtherOption2;
  return text;
}

LevelCode TSettings::LevelCodeOf(int n) const {
  if (n <= 0 || n > LevelTable.size())
    return -1;
  return LevelTable[n - 1].Value;
}

QString TSettings::OptionsForLevel(int n, bool strict) const {
  const LevelCode code = LevelCodeOf(n);
  if (code == -1)
    return strict ? QString() : CurrentOptions();
  QString text = LevelTable[n - 1].Text;
  const int type = static_cast<int>(static_cast<std::uint32_t>(code) >> 24);
  const QString bounds = BoundOptions();
  if ((type == ltABR || type == ltVBR) && !bounds.isEmpty())
    text += u' ' + bounds;
  if (UseOtherOption1 && !OtherOption1.isEmpty())
    text += u' ' + OtherOption1;
  if (UseOtherOption2 && !OtherOption2.isEmpty())
    text += u' ' + OtherOption2;
  return text;
}
