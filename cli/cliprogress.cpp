// Text progress bars, redrawn only when a percentage changes.
#include "cli/cliprogress.h"

#include "messages/format.h"
#include "messages/str.h"

#include <algorithm>
#include <unistd.h>

namespace {

int Percent(std::int64_t pos, std::int64_t range) {
  if (range <= 0) {
    return 0;
  }
  return static_cast<int>(std::clamp<std::int64_t>(pos * 100 / range, 0, 100));
}

QByteArray Bar(int percent) {
  constexpr int width = 20;
  const int filled = percent * width / 100;
  return QByteArray(filled, '#') + QByteArray(width - filled, '-');
}

} // namespace

TCliProgress::TCliProgress(std::FILE *out) : out_(out), enabled_(isatty(fileno(out)) != 0) {}

void TCliProgress::Open(int trackCount, std::int64_t wholeFrames) {
  open_ = true;
  trackCount_ = trackCount;
  whole_ = wholeFrames;
  wholePos_ = 0;
  track_ = trackPos_ = 0;
}

void TCliProgress::SelectTrack(int trackIndex, std::int64_t trackFrames) {
  trackIndex_ = trackIndex;
  track_ = trackFrames;
  trackPos_ = 0;
  Draw();
}

void TCliProgress::Advance(int frames) {
  trackPos_ += frames;
  wholePos_ += frames;
  Draw();
}

void TCliProgress::Close() {
  Hide();
  open_ = false;
}

void TCliProgress::Hide() {
  if (enabled_ && drawn_) {
    std::fputs("\r\033[K", out_);
    std::fflush(out_);
    drawn_ = false;
  }
}

void TCliProgress::Show() {
  lastTrackPercent_ = lastWholePercent_ = -1;
  Draw();
}

void TCliProgress::Draw() {
  if (!enabled_ || !open_) {
    return;
  }
  const int t = Percent(trackPos_, track_);
  const int w = Percent(wholePos_, whole_);
  if (drawn_ && t == lastTrackPercent_ && w == lastWholePercent_) {
    return;
  }
  lastTrackPercent_ = t;
  lastWholePercent_ = w;
  const QString text =
      str::Format(str::_fmt_sddsd_CliProgress, {QString::fromLatin1(Bar(t)), trackIndex_ + 1,
                                                trackCount_, QString::fromLatin1(Bar(w)), w});
  std::fprintf(out_, "\r\033[K%s", text.toUtf8().constData());
  std::fflush(out_);
  drawn_ = true;
}
