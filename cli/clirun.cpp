// The command-line run from the options to the exit code.
#include "cli/clirun.h"

#include "cli/clireceiver.h"
#include "crc/crctable.h"
#include "engine/cuelist.h"
#include "engine/mkmp3.h"
#include "log/logfile.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "naming/outputhome.h"
#include "plugins/wavestreammanager.h"
#include "settings/settings.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

TCliRun::TCliRun(const TCliOptions &options, TCliReceiver &receiver, TWaveStreamManager &manager)
    : options_(options), receiver_(receiver), manager_(manager) {}

bool TCliRun::Prepare() {
  return LoadSettings() && ListCueSheets() && CheckStart();
}

bool TCliRun::LoadSettings() {
  TSettings &settings = Settings();
  settings.ShowError = [this](const QString &message) { receiver_.PrintError(message); };
  if (!options_.IniFile.isNull()) {
    const QFileInfo ini(options_.IniFile);
    if (!ini.isFile()) {
      receiver_.PrintError(str::Format(str::_msg_s_CliIniNotFound, {options_.IniFile}));
      return false;
    }
    settings.UseRegistry = false;
    settings.SettingsPath = ini.absoluteFilePath();
  } else if (!options_.Store.isNull()) {
    settings.SelectStore(options_.Store);
  }
  try {
    settings.Load();
  } catch (const TError &e) {
    receiver_.PrintError(e.Message);
    return false;
  }
  // Overrides for this run only: the front end never saves the store.
  TSettingsWriteGuard guard(settings.Lock());
  if (!options_.LamePath.isNull()) {
    settings.LamePath = options_.LamePath;
  }
  return true;
}

bool TCliRun::ListCueSheets() {
  struct TCandidate {
    bool IsDir;
    QString Path;
  };
  QList<TCandidate> candidates;
  if (!options_.Dir.isNull()) {
    candidates.append({true, options_.Dir});
  }
  if (!options_.File.isNull()) {
    candidates.insert(options_.DirFirst ? candidates.size() : 0, {false, options_.File});
  }
  if (candidates.isEmpty()) {
    receiver_.PrintError(str::_msg_CliNoInput);
    return false;
  }
  for (const TCandidate &c : candidates) {
    if (c.IsDir) {
      if (!QFileInfo(c.Path).isDir()) {
        receiver_.PrintError(str::Format(str::_err_s_NoOptD_Dir, {c.Path}));
        continue;
      }
      entries_ = ::ListCueSheets(c.Path);
      std::sort(entries_.begin(), entries_.end());
      if (entries_.isEmpty()) {
        receiver_.PrintError(str::Format(str::_err_s_NoCueFileOnDOptDir, {c.Path}));
        return false;
      }
      inputHome_ = QFileInfo(c.Path).absoluteFilePath();
      return true;
    }
    if (!IsUsableCueFile(c.Path)) {
      receiver_.PrintError(str::Format(str::_err_s_NoOptF_File, {c.Path}));
      continue;
    }
    const QFileInfo file(c.Path);
    inputHome_ = file.absolutePath();
    entries_ = QStringList{file.fileName()};
    return true;
  }
  return false;
}

bool TCliRun::CheckStart() {
  TSettings &settings = Settings();
  QString lamePath;
  {
    TSettingsReadGuard guard(settings.Lock());
    lamePath = settings.LamePath;
  }
  if (lamePath.isEmpty()) {
    receiver_.PrintError(str::_err_NoLamePath);
    return false;
  }
  if (!QFileInfo(lamePath).isFile() || !QFileInfo(lamePath).isExecutable()) {
    receiver_.PrintError(str::Format(str::_msg_s_CliLameNotFound, {lamePath}));
    return false;
  }
  try {
    if (!options_.OutputHome.isNull()) {
      if (options_.OutputHome.isEmpty()) {
        throw TError(str::_err_OutputHomeDirEmpty);
      }
      if (!QFileInfo(options_.OutputHome).isDir()) {
        throw TError(str::Format(str::_err_s_MakeNoOutputHomeDir, {options_.OutputHome}));
      }
      outputHome_ = QFileInfo(options_.OutputHome).absoluteFilePath();
    } else {
      // Nobody can be asked for a folder here.
      outputHome_ = ChooseOutputHome(settings, inputHome_,
                                     [](const QString &, const QString &) { return QString(); });
    }
    manager_.LoadPlugins(TWaveStreamManager::ProgramPluginDirectory());
    manager_.BindAll();
  } catch (const TError &e) {
    receiver_.PrintError(e.Message);
    return false;
  }
  return true;
}

void TCliRun::Start(QObject *context, const std::function<void(int exitCode)> &done) {
  BuildCrcTable();
  std::lock_guard<std::mutex> lock(runLock_);
  batch_ = new TMakeMP3(&manager_, &receiver_);
  batch_->InputHomeDir = inputHome_;
  batch_->OutputHomeDir = outputHome_;
  for (const QString &entry : entries_) {
    batch_->Files.append({entry, receiver_.Tree.AddFile(entry)});
  }
  receiver_.Tree.LogPresent = !entries_.isEmpty();
  {
    TSettingsReadGuard guard(Settings().Lock());
    receiver_.Tree.LogAutoExpand = Settings().LogAutoExpand;
  }
  QObject::connect(batch_, &QThread::finished, context, [this, done] { done(RunFinished()); });
  batch_->start();
}

void TCliRun::RequestBreak() {
  std::lock_guard<std::mutex> lock(runLock_);
  if (batch_ != nullptr) {
    if (!breakRequested_) {
      receiver_.PrintInfo(str::_msg_CliBreaking);
    }
    breakRequested_ = true;
    batch_->RequestBreak();
  }
}

int TCliRun::RunFinished() {
  {
    std::lock_guard<std::mutex> lock(runLock_);
    batch_ = nullptr;
  }
  receiver_.Tree.EndTime = QDateTime::currentDateTime();
  bool autoSave;
  QString logDir;
  {
    TSettingsReadGuard guard(Settings().Lock());
    autoSave = Settings().LogAutoSave;
    logDir = Settings().LogDirName;
  }
  int code = receiver_.EngineErrorShown() ? CliExitSetup
             : receiver_.AllSucceeded()   ? CliExitOK
                                          : CliExitFailed;
  if (autoSave) {
    try {
      const QString saved = SaveLog(receiver_.Tree, logDir);
      if (!saved.isEmpty()) {
        receiver_.PrintInfo(str::Format(str::_msg_s_CliLogSaved, {saved}));
      }
    } catch (const TError &e) {
      receiver_.PrintError(e.Message);
      code = std::max<int>(code, CliExitFailed);
    }
  }
  FreeCrcTable();
  return code;
}
