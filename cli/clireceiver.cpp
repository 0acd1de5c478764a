// Printing the log as it grows, and the run's outcome.
#include "cli/clireceiver.h"

#include "cuesheet/cuesheet.h"
#include "messages/format.h"
#include "messages/str.h"

TCliReceiver::TCliReceiver(std::FILE *out, std::FILE *err) : out_(out), err_(err), progress_(err) {
  Tree.SetObserver(this);
}

TCliReceiver::~TCliReceiver() {
  Tree.SetObserver(nullptr);
}

TLogHandle TCliReceiver::AddLog(TLogHandle fileNode, int trackNo, int category,
                                const QString &text) {
  return Tree.AddLog(static_cast<TLogNode *>(fileNode), trackNo, category, text);
}

TLogHandle TCliReceiver::AddLogDetail(TLogHandle line, const QString &text) {
  return Tree.AddDetail(static_cast<TLogNode *>(line), text);
}

void TCliReceiver::SetFileState(TLogHandle fileNode, int state) {
  TLogNode *node = static_cast<TLogNode *>(fileNode);
  Tree.SetFileState(node, state);
  if (state == FileStateConverting) {
    currentFile_ = node;
    results_[node];
  } else if (state == FileStateMissing) {
    results_[node];
    progress_.Hide();
    std::fprintf(out_, "%s\n",
                 str::Format(str::_msg_s_CliCueFileMissing, {node->Text()}).toUtf8().constData());
    progress_.Show();
  }
}

void TCliReceiver::SetTrackResult(TLogHandle fileNode, int trackNo, bool success) {
  TLogNode *node = static_cast<TLogNode *>(fileNode);
  Tree.SetTrackResult(node, trackNo, success);
  TFileResult &r = results_[node];
  (success ? r.Succeeded : r.Failed).insert(trackNo);
  (success ? r.Failed : r.Succeeded).remove(trackNo);
}

void TCliReceiver::SetTrackCaption(TLogHandle fileNode, int trackNo, const QString &fileName) {
  Tree.SetTrackCaption(static_cast<TLogNode *>(fileNode), trackNo, fileName);
}

void TCliReceiver::OpenProgress(const TCueSheet &sheet) {
  std::int64_t whole = 0;
  for (int i = 0; i < sheet.Count(); ++i) {
    whole += sheet.Items(i).Length();
  }
  if (currentFile_ != nullptr) {
    results_[currentFile_].TrackCount = sheet.Count();
  }
  progress_.Open(sheet.Count(), whole);
}

void TCliReceiver::ShowTrackProgress(int trackIndex, std::uint32_t trackFrames) {
  progress_.SelectTrack(trackIndex, trackFrames);
}

void TCliReceiver::AdvanceProgress(int frames) {
  progress_.Advance(frames);
}

void TCliReceiver::CloseProgress() {
  progress_.Close();
}

void TCliReceiver::ShowEngineError(const QString &message) {
  engineError_ = true;
  PrintError(message);
}

void TCliReceiver::PrintError(const QString &message) {
  progress_.Hide();
  std::fprintf(err_, "%s\n", str::Format(str::_fmt_s_CliErrorLine, {message}).toUtf8().constData());
  std::fflush(err_);
  progress_.Show();
}

void TCliReceiver::PrintInfo(const QString &message) {
  progress_.Hide();
  std::fprintf(out_, "%s\n", message.toUtf8().constData());
  std::fflush(out_);
  progress_.Show();
}

void TCliReceiver::NodeInserted(TLogNode *node) {
  const int level = node->Level();
  if (level < 2) {
    // Cue-sheet entries and their track nodes are the prefixes of the lines below them.
    return;
  }
  TLogNode *track = node;
  while (track->Level() > 1) {
    track = track->Parent();
  }
  const QString indent(2 * (level - 2), u' ');
  const QString line = str::Format(str::_fmt_ssss_CliLogLine,
                                   {track->Parent()->Text(), track->Text(), indent, node->Text()});
  progress_.Hide();
  std::fprintf(out_, "%s\n", line.toUtf8().constData());
  std::fflush(out_);
  progress_.Show();
}

bool TCliReceiver::AllSucceeded() const {
  for (int i = 0; i < Tree.Count(); ++i) {
    const TLogNode *file = Tree.Item(i);
    if (file->StateIndex() == LogImageUnchecked) {
      continue;
    }
    if (file->StateIndex() != FileStateConverted) {
      return false;
    }
    const auto it = results_.constFind(const_cast<TLogNode *>(file));
    if (it == results_.constEnd() || it->TrackCount < 0 || !it->Failed.isEmpty() ||
        it->Succeeded.size() != it->TrackCount) {
      return false;
    }
  }
  return true;
}
