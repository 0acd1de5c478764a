// The progress bars of the command-line front end: the track and the cue sheet, drawn on one
// line of standard error when that is a terminal.
#pragma once

#include <cstdint>
#include <cstdio>

class TCliProgress {
public:
  explicit TCliProgress(std::FILE *out);

  bool Enabled() const { return enabled_; }
  void Open(int trackCount, std::int64_t wholeFrames);
  void SelectTrack(int trackIndex, std::int64_t trackFrames);
  void Advance(int frames);
  void Close();
  // Removes the bar so a log line can be printed, and puts it back afterwards.
  void Hide();
  void Show();

private:
  void Draw();

  std::FILE *out_;
  bool enabled_;
  bool open_ = false;
  bool drawn_ = false;
  int trackCount_ = 0;
  int trackIndex_ = 0;
  std::int64_t whole_ = 0, wholePos_ = 0, track_ = 0, trackPos_ = 0;
  int lastTrackPercent_ = -1, lastWholePercent_ = -1;
};
