// quarrow-tonegen: writes the audio image of a cue sheet as tones, so that the example album and
// the benchmarks need no recorded audio in the repository. Each track gets its own pitch; the
// pregap between a track's INDEX 00 and INDEX 01 is a quiet low tone, so it is audible where it
// ends up (in the track before, or in track 1 for the audio before its INDEX 01).
//
//   quarrow-tonegen CUEFILE SECONDS OUTPUT.wav
#include "messages/format.h"
#include "messages/str.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct TMark {
  std::int64_t Frame;
  bool Pregap;
  int Track;
};

// The INDEX 00 and INDEX 01 positions of the cue sheet, in order.
std::vector<TMark> ReadMarks(const QString &cuePath) {
  std::vector<TMark> marks;
  QFile f(cuePath);
  if (!f.open(QIODevice::ReadOnly)) {
    return marks;
  }
  const QString text = QString::fromUtf8(f.readAll());
  const QRegularExpression track(QStringLiteral("^\\s*TRACK\\s+(\\d+)"),
                                 QRegularExpression::CaseInsensitiveOption);
  const QRegularExpression index(QStringLiteral("^\\s*INDEX\\s+(\\d+)\\s+(\\d+):(\\d+):(\\d+)"),
                                 QRegularExpression::CaseInsensitiveOption);
  int current = 0;
  for (const QString &line : text.split(u'\n')) {
    if (const auto m = track.match(line); m.hasMatch()) {
      current = m.captured(1).toInt();
    } else if (const auto m = index.match(line); m.hasMatch()) {
      const int number = m.captured(1).toInt();
      if (number > 1) {
        continue;
      }
      const std::int64_t sectors =
          (m.captured(2).toLongLong() * 60 + m.captured(3).toLongLong()) * 75 +
          m.captured(4).toLongLong();
      marks.push_back({sectors * 588, number == 0, current});
    }
  }
  return marks;
}

void PutU32(QByteArray &b, std::uint32_t v) {
  char le[4];
  qToLittleEndian(v, le);
  b.append(le, 4);
}

void PutU16(QByteArray &b, std::uint16_t v) {
  char le[2];
  qToLittleEndian(v, le);
  b.append(le, 2);
}

} // namespace

int main(int argc, char *argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "%s\n", str::_msg_ToneGenUsage.toUtf8().constData());
    return 2;
  }
  const std::vector<TMark> marks = ReadMarks(QString::fromLocal8Bit(argv[1]));
  const std::int64_t frames = static_cast<std::int64_t>(std::atof(argv[2]) * kRate);
  if (marks.empty() || frames <= 0) {
    std::fprintf(stderr, "%s\n",
                 str::Format(str::_msg_s_ToneGenFailed, {argv[1]}).toUtf8().constData());
    return 1;
  }
  QFile out(QString::fromLocal8Bit(argv[3]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "%s\n",
                 str::Format(str::_msg_s_ToneGenFailed, {argv[3]}).toUtf8().constData());
    return 1;
  }
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(frames * 4);
  QByteArray header("RIFF");
  PutU32(header, dataBytes + 36);
  header.append("WAVEfmt ");
  PutU32(header, 16);
  PutU16(header, 1);
  PutU16(header, 2);
  PutU32(header, kRate);
  PutU32(header, kRate * 4);
  PutU16(header, 4);
  PutU16(header, 16);
  header.append("data");
  PutU32(header, dataBytes);
  out.write(header);

  std::size_t m = 0;
  QByteArray block;
  for (std::int64_t f = 0; f < frames; ++f) {
    while (m + 1 < marks.size() && marks[m + 1].Frame <= f) {
      ++m;
    }
    const TMark &mark = marks[m];
    const bool beforeFirst = f < marks[0].Frame;
    const double t = static_cast<double>(f) / kRate;
    double left, right;
    if (mark.Pregap || beforeFirst) {
      left = right = 0.05 * std::sin(2 * M_PI * 110.0 * t);
    } else {
      const double pitch = 330.0 * std::pow(2.0, (mark.Track - 1) * 3 / 12.0);
      const double since = static_cast<double>(f - mark.Frame) / kRate;
      const double envelope = std::min(1.0, since * 4) * (0.6 + 0.2 * std::sin(2 * M_PI * 0.5 * t));
      left = envelope * 0.5 * std::sin(2 * M_PI * pitch * t);
      right = envelope * 0.5 * std::sin(2 * M_PI * pitch * 1.5 * t);
    }
    PutU16(block, static_cast<std::uint16_t>(static_cast<std::int16_t>(left * 32767)));
    PutU16(block, static_cast<std::uint16_t>(static_cast<std::int16_t>(right * 32767)));
    if (block.size() >= 1 << 20) {
      out.write(block);
      block.clear();
    }
  }
  out.write(block);
  return out.error() == QFile::NoError ? 0 : 1;
}
