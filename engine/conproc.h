// CopyProcess: the conversion thread of one cue sheet. Track by track it names the MP3 file,
// chooses the encoder options, runs the encoder with the track's PCM, tags the result and
// reports every step; after the last track it checks the audio CRC against the ripper's log.
#pragma once

#include "engine/notify.h"
#include "platform/event.h"
#include "platform/process.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <cstdint>
#include <memory>
#include <optional>

class TACCList;
class TCrc32EAC;
class TCueSheet;
class TCueTrack;
class TID3Tag;
class TSimpleID3TagList;
class TStdPipe;
class TWaveInputStream;
class TWaveStreamManager;
class TWaveStreamWriteThread;

// The frames of the audio file that make up one track: track 1 from frame 0 (it carries the audio
// before its INDEX 01), every later track from its INDEX 01 to the frame before the next one's.
struct TTrackRange {
  std::uint32_t FirstFrame = 0;
  std::uint32_t FrameCount = 0;
};
TTrackRange TrackRange(const TCueTrack &track);

class CopyProcess final : public QThread {
public:
  // Starts running at once. cueSheet, the lists and the manager are not owned and must outlive
  // the thread; accList and id3TagList may be null. receiver gets every report.
  CopyProcess(TCueSheet *cueSheet, const TACCList *accList, const TSimpleID3TagList *id3TagList,
              TLogHandle fileNode, TWaveStreamManager *waveStreamManager, const QString &targetDir,
              TEngineNotify *receiver);
  // Waits for the thread.
  ~CopyProcess() override;

  // Sets the termination flag and signals BreakEvent: the track in work stops (its encoder ends
  // by itself once its input is closed) and no further track starts.
  void RequestBreak();

  // Signalled as the body's very last act, so that the batch thread can wait for the end of this
  // thread together with its own break.
  TEvent EndedEvent{TEvent::ManualReset};

  // The track's MP3 path, its encoder options and the encoder's command line (exposed for the
  // tests of the naming and option rules).
  QString MakeMP3Path(const TCueTrack &track);
  QString ChooseEncoderOptions(const TCueTrack &track);
  std::optional<QString> BuildCommandLine(const TCueTrack *track, const QString &outputPath);

protected:
  void run() override;

private:
  // One track's encoder run: the process, its pipes and the three threads that serve it. The
  // threads stay until the track is finished.
  struct TEncoderRun {
    TProcess Process;
    int Handles[6] = {-1, -1, -1, -1, -1, -1};
    std::unique_ptr<TWaveStreamWriteThread> Feeder;
    std::unique_ptr<TStdPipe> StdOutReader;
    std::unique_ptr<TStdPipe> StdErrReader;
    ~TEncoderRun();
  };

  void Execute();
  void ConvertTrack(int index, const QString &tempPath, bool tagging);
  void CheckCRC();

  bool StartEncoder(const QString &commandLine, int trackNo, TEncoderRun &run);
  // The encoder's exit code (-1 for a failure of ours), or none when it could not be started.
  std::optional<int> RunEncoder(int trackNo, const QString &commandLine, const TTrackRange &range,
                                TEncoderRun &run);
  void AppendEncoderOutput(const char *bytes, int count);

  // The notifications, each one blocking call into the receiver's thread.
  TLogHandle Log(int trackNo, int category, const QString &text);
  void SetTrackResult(int trackNo, bool success);
  void SetTrackCaption(int trackNo, const QString &fileName);
  void LogEncoderErrors(int trackNo);
  void LogID3Tag(int trackNo, const TID3Tag &tag);
  void OpenProgress();
  void ShowTrackProgress();
  void AdvanceProgress(int frames);
  void CloseProgress();

  QString TargetDir;
  TEvent BreakEvent{TEvent::ManualReset};
  TCueSheet *CueSheet;
  int CurrentTrackIndex = 0;
  TLogHandle FileNode;
  TWaveStreamManager *WaveStreamManager;
  const TSimpleID3TagList *ID3TagList;
  const TACCList *ACCList;
  QByteArray StdErrText;
  std::unique_ptr<TCrc32EAC> Crc;
  TEngineNotify *Receiver;
  bool progressOpen_ = false;
  std::unique_ptr<TWaveInputStream> stream_;
  // The private directory of the encoder's temporary output, removed with everything in it when
  // the run ends.
  std::unique_ptr<QTemporaryDir> tempDir_;
};
