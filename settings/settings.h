// TSettings: every user setting of the program in one process-wide object, its store (an INI
// file beside the program, one in the user's configuration folder, or the registry store), the
// settings lock, and the LAME option texts built from the settings.
#pragma once

#include "settings/levels.h"
#include "settings/settingslock.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class TSettingsStore;

// The main window's geometry, persisted with the settings but held by the window: Load reads
// it with the values passed in as defaults, Save writes the values passed in.
struct TWindowGeometry {
  int Width = 0;
  int Height = 0;
  int Top = 0;
  int Left = 0;
};

class TSettings {
public:
  // programPath: the running program's full path; the INI file beside it is the default store.
  explicit TSettings(const QString &programPath);
  TSettings();
  ~TSettings();
  TSettings(const TSettings &) = delete;
  TSettings &operator=(const TSettings &) = delete;

  // Chooses the store before loading: 'C' the INI file beside the program, 'U' the INI file in
  // the per-user folder (made when missing), any other letter the registry store. A per-user
  // folder that cannot be made is reported through ShowError and changes nothing.
  void SelectStore(QChar letter);
  // Reads the whole store under the exclusive lock. Keys that are missing or unreadable take
  // their defaults; window, when given, receives the main window's geometry. Raises TError when
  // the store exists but cannot be read; the fields then keep what they held.
  void Load(TWindowGeometry *window = nullptr);
  // Writes the whole store under the exclusive lock; window, when given, supplies the main
  // window's geometry, else the stored one stays. Raises TError when the store cannot be
  // written; the previous store then stays as it was.
  void Save(const TWindowGeometry *window = nullptr);

  void BeginRead() { lock_.BeginRead(); }
  void EndRead() { lock_.EndRead(); }
  void BeginWrite() { lock_.BeginWrite(); }
  void EndWrite() { lock_.EndWrite(); }
  TSettingsLock &Lock() { return lock_; }

  // The LAME option texts. They read fields and take no lock: callers hold the shared side.
  QString BoundOptions() const;
  QString CurrentOptions() const;
  LevelCode LevelCodeOf(int n) const;
  static int LevelByName(const QString &name) { return ::LevelByName(name); }
  QString OptionsForLevel(int n, bool strict) const;

  // Shows an error that the settings report and then go on (the program's standard error
  // message box); by default the message goes to the standard error stream.
  std::function<void(const QString &message)> ShowError;

  // The default tag definitions and rename rules of the program's resources.
  static QStringList DefaultTagList();
  static QStringList DefaultDirNameReplaceInfo();

  QString SettingsPath;
  bool UseRegistry = false;
  std::int32_t DialogPage = 0;
  std::int32_t LevelCount = 5;
  TLevelTable LevelTable;

  // The persisted fields, named by their store keys. The constructor gives each its default.
  // [System]
  bool UseCueMacro;
  bool UseCueID3Tag;
  bool UseCueOptions;
  bool SetHomeOnSingleDirDrag;
  bool ShowMenu;
  bool CheckCRC;
  std::int32_t CRCType;
  QString CRCCaption;
  // [Lame]
  std::int32_t CompressType;
  std::int32_t CBRPreset;
  std::int32_t VBRLevel;
  std::int32_t ABRBitRate;
  std::int32_t Quality;
  bool UseVBRLB;
  std::int32_t VBRLB;
  bool UseVBRUB;
  std::int32_t VBRUB;
  QString CLList;
  QString LamePath;
  QString CustomOptions;
  QString OtherOption1;
  QString OtherOption2;
  bool UseOtherOption1;
  bool UseOtherOption2;
  // [Tag]
  std::uint8_t TagVerMJ;
  std::uint8_t TagVerMNV23;
  std::uint8_t TagVerMNV24;
  std::int32_t TagTextCodeV23;
  std::int32_t TagTextCodeV24;
  std::int32_t TagPadSize;
  bool UseTagInfo;
  bool TagTermNull;
  bool TagNoEmptyTag;
  // [Output]
  std::int32_t OutputHomeDirSelection;
  QString OutputHomeDirName;
  std::int32_t OutputMP3DirSelection;
  bool AddSuffixOnExistDir;
  bool MP3DirNameReplace;
  QString OutputMP3DirName;
  QString OutputFileName;
  bool AddSuffixOnExistFile;
  QString CharMap;
  // [Log]
  bool LogCueSentence;
  bool LogCueMacroDef;
  bool LogCueID3TagDef;
  bool LogCueOptionDef;
  bool LogCmdLine;
  bool LogID3Tag;
  bool LogAutoExpand;
  bool LogAutoSave;
  QString LogDirName;
  // [CCoordinator]
  bool UseACC;
  bool AccMatchAsText;
  // [TagList], [DirNameReplaceInfo] ("search=replacement"), [ACCInfo]
  QStringList TagList;
  QStringList DirNameReplaceInfo;
  QStringList ACCInfo;
  // [Status]: the cue sheet information window; -1 when none is stored
  std::int32_t CSWidth;
  std::int32_t CSHeight;
  std::int32_t CSTop;
  std::int32_t CSLeft;

private:
  std::unique_ptr<TSettingsStore> OpenStore() const;
  void Report(const QString &message) const;

  QString programPath_;
  TSettingsLock lock_;
};

// The process-wide settings object, made on first use.
TSettings &Settings();

// The full path of the running program.
QString RunningProgramPath();
