// TCliReceiver: the command-line front end's side of the engine's notification protocol. It
// keeps the same log tree as the main window, prints every node as it is added (indented as in
// the tree, prefixed by its cue sheet and track node), drives the progress bars and records what
// the exit code needs.
#pragma once

#include "cli/cliprogress.h"
#include "engine/notify.h"
#include "log/logtree.h"

#include <QHash>
#include <QSet>
#include <cstdio>

class TCliReceiver : public TEngineNotify, private TLogTreeObserver {
public:
  TCliReceiver(std::FILE *out, std::FILE *err);
  ~TCliReceiver() override;

  TLogTree Tree;

  TLogHandle AddLog(TLogHandle fileNode, int trackNo, int category, const QString &text) override;
  TLogHandle AddLogDetail(TLogHandle line, const QString &text) override;
  void SetFileState(TLogHandle fileNode, int state) override;
  void SetTrackResult(TLogHandle fileNode, int trackNo, bool success) override;
  void SetTrackCaption(TLogHandle fileNode, int trackNo, const QString &fileName) override;
  void OpenProgress(const TCueSheet &sheet) override;
  void ShowTrackProgress(int trackIndex, std::uint32_t trackFrames) override;
  void AdvanceProgress(int frames) override;
  void CloseProgress() override;
  void ShowEngineError(const QString &message) override;

  // Prints a message of the front end itself on standard error.
  void PrintError(const QString &message);
  void PrintInfo(const QString &message);

  // True when every cue sheet of the tree ended converted and every one of its tracks was made.
  bool AllSucceeded() const;
  bool EngineErrorShown() const { return engineError_; }

private:
  void NodeAboutToBeInserted(TLogNode *, int) override {}
  void NodeInserted(TLogNode *node) override;
  void ChildrenAboutToBeRemoved(TLogNode *, int, int) override {}
  void ChildrenRemoved(TLogNode *) override {}
  void NodeChanged(TLogNode *) override {}

  struct TFileResult {
    int TrackCount = -1; // -1 until the conversion reached the audio
    QSet<int> Succeeded;
    QSet<int> Failed;
  };

  std::FILE *out_;
  std::FILE *err_;
  TCliProgress progress_;
  TLogNode *currentFile_ = nullptr;
  QHash<TLogNode *, TFileResult> results_;
  bool engineError_ = false;
};
