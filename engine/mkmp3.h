// TMakeMP3: the batch thread. It converts the checked cue sheets one after the other: reads each
// one, names and makes its output directory, and hands the tracks to a CopyProcess thread that it
// waits for (or breaks). It frees itself when its body has ended; its finished signal is the
// front end's batch-end notification.
#pragma once

#include "engine/notify.h"
#include "platform/event.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QThread>
#include <memory>

class TACCList;
class TCueSheet;
class TSimpleID3TagList;
class TWaveStreamManager;

// One cue sheet of a batch: its path relative to the input home and its log node.
struct TMakeMP3File {
  QString RelativePath;
  TLogHandle Node = nullptr;
};

class TMakeMP3 final : public QThread {
public:
  // The thread is made but not started; it deletes itself (deleteLater) once finished. A missing
  // manager raises _err_MakeNoWaveStreamManager. receiver gets every report and must outlive the
  // thread.
  TMakeMP3(TWaveStreamManager *waveStreamManager, TEngineNotify *receiver);
  ~TMakeMP3() override;

  // Called on the receiver's thread: the cue sheet in work stops after its current track's
  // encoder has finished, and no further cue sheet is visited. Calling it twice is harmless.
  void RequestBreak();

  // Installed as every cue sheet's OnMessage.
  void HandleCueMessage(TCueSheet &sender, int trackNo, int kind, const QString &name,
                        const QString &value);

  QList<TMakeMP3File> Files;
  QString InputHomeDir;
  QString OutputHomeDir;

protected:
  void run() override;

private:
  void Execute();
  void ConvertCueSheet(const QString &cuePath, const QString &outputHome,
                       const QString &relativeDir);
  void BuildID3TagList();
  void BuildACCList();
  void AddLog(int trackNo, int category, const QString &text);
  void SetFileState(int state);

  TEvent BreakEvent{TEvent::ManualReset};
  TWaveStreamManager *WaveStreamManager;
  TEngineNotify *Receiver;
  TLogHandle CurrentFileNode = nullptr;
  std::unique_ptr<TSimpleID3TagList> ID3TagList;
  std::unique_ptr<TACCList> ACCList;
  QDateTime StartTime;
};
