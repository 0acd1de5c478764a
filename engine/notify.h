// TEngineNotify: the receiving side of the engine's reports, implemented by each front end (the
// main window, the command-line program) on its user-interface thread; and SendNotify, the one
// way an engine thread reaches it.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <mutex>

class TCueSheet;

// The log node of a cue sheet, and of a line that AddLog made: opaque to the engine, handed back
// in later reports.
using TLogHandle = void *;

// State codes sent for a cue sheet's node and a track's node.
enum TEngineFileState : int {
  FileStateConverting = 7,
  FileStateConverted = 8,
  FileStateError = 9,
  FileStateMissing = 10,
};
enum TEngineTrackState : int {
  TrackStateSucceeded = 4,
  TrackStateFailed = 5,
};

// Every member runs on the thread that owns the object, called by SendNotify while the engine
// thread that sent it waits. Implementations must not wait for engine threads.
class TEngineNotify : public QObject {
public:
  ~TEngineNotify() override = default;

  // One line under (fileNode, trackNo, category); the new line's node, or null when the track
  // number lies outside 0 to 99 (nothing is added).
  virtual TLogHandle AddLog(TLogHandle fileNode, int trackNo, int category,
                            const QString &text) = 0;
  // A child line under a line that AddLog returned, text as it is.
  virtual TLogHandle AddLogDetail(TLogHandle line, const QString &text) = 0;
  virtual void SetFileState(TLogHandle fileNode, int state) = 0;
  virtual void SetTrackResult(TLogHandle fileNode, int trackNo, bool success) = 0;
  // The track node becomes "トラック %02d : <fileName>".
  virtual void SetTrackCaption(TLogHandle fileNode, int trackNo, const QString &fileName) = 0;

  // The progress window: opened for a cue sheet (read-only while the window is open), a track
  // selected with the length of its bar, both bars advanced, closed.
  virtual void OpenProgress(const TCueSheet &sheet) = 0;
  virtual void ShowTrackProgress(int trackIndex, std::uint32_t trackFrames) = 0;
  virtual void AdvanceProgress(int frames) = 0;
  virtual void CloseProgress() = 0;

  // An error that ended the batch thread before or between cue sheets (the standard error
  // message box of the front end).
  virtual void ShowEngineError(const QString &message) = 0;

  // Held by an engine thread around each call it has pending on this object, so that at most one
  // engine thread at a time waits on the user-interface thread. The receiving thread never takes
  // it.
  std::mutex NotifyLock;
};

// Runs call on the receiver's thread and returns when it has run, holding the receiver's
// notification lock meanwhile. Reports of one thread arrive in the order sent. Must not be
// called on the receiver's own thread.
void SendNotify(TEngineNotify *receiver, const std::function<void()> &call);
