// TCliRun: one run of quarrow-cli. Chooses and loads the settings store, applies the overrides of
// this run (never saved), lists the cue sheets as the main window's /D and /F do, makes the same
// start checks as the main window's start command, runs the batch thread and ends with the exit
// code: 0 all converted, 1 something failed, 2 a usage or set-up error.
#pragma once

#include "cli/clioptions.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <mutex>

class QObject;

class TCliReceiver;
class TMakeMP3;
class TWaveStreamManager;

enum TCliExitCode : int { CliExitOK = 0, CliExitFailed = 1, CliExitSetup = 2 };

class TCliRun {
public:
  TCliRun(const TCliOptions &options, TCliReceiver &receiver, TWaveStreamManager &manager);

  // Everything up to the start of the batch; false (with the message printed) on a set-up error.
  bool Prepare();
  // Starts the batch thread. When it has ended, RunFinished runs on context's thread and done
  // gets the exit code; the event loop must run until then.
  void Start(QObject *context, const std::function<void(int exitCode)> &done);
  // Asks the running batch to stop (Ctrl-C). Harmless when none runs or when called twice.
  void RequestBreak();
  // The batch-end handler: saves the log when LogAutoSave is set, releases the CRC table and
  // works out the exit code.
  int RunFinished();

private:
  bool LoadSettings();
  bool ListCueSheets();
  bool CheckStart();

  TCliOptions options_;
  TCliReceiver &receiver_;
  TWaveStreamManager &manager_;
  QString inputHome_;
  QString outputHome_;
  QStringList entries_;
  std::mutex runLock_; // around batch_, as the main window's run lock
  TMakeMP3 *batch_ = nullptr;
  bool breakRequested_ = false;
};
