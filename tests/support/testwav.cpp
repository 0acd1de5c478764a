// Test fixture writers.
#include "testwav.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QtEndian>

namespace testsupport {

std::int16_t SampleAt(std::uint64_t frame, int channel) {
  return static_cast<std::int16_t>(
      (frame * 7 + static_cast<std::uint64_t>(channel) * 1000) % 60000 - 30000);
}

namespace {

void put32(QByteArray &b, std::uint32_t v) {
  char raw[4];
  qToLittleEndian(v, raw);
  b.append(raw, 4);
}

void put16(QByteArray &b, std::uint16_t v) {
  char raw[2];
  qToLittleEndian(v, raw);
  b.append(raw, 2);
}

} // namespace

bool WriteTestWav(const QString &path, std::uint64_t frames, bool sparse) {
  const std::uint64_t dataBytes = frames * 4;
  if (dataBytes > 0xFFFFFFFFull - 36)
    return false;
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  QByteArray h;
  h.append("RIFF");
  put32(h, static_cast<std::uint32_t>(36 + dataBytes));
  h.append("WAVEfmt ");
  put32(h, 16);
  put16(h, 1);
  put16(h, 2);
  put32(h, 44100);
  put32(h, 44100 * 4);
  put16(h, 4);
  put16(h, 16);
  h.append("data");
  put32(h, static_cast<std::uint32_t>(dataBytes));
  if (f.write(h) != h.size())
    return false;
  if (sparse)
    return f.resize(static_cast<qint64>(h.size() + dataBytes));
  QByteArray chunk;
  const std::uint64_t perChunk = 65536;
  for (std::uint64_t start = 0; start < frames; start += perChunk) {
    const std::uint64_t n = std::min(perChunk, frames - start);
    chunk.resize(static_cast<qsizetype>(n * 4));
    char *p = chunk.data();
    for (std::uint64_t i = 0; i < n; ++i) {
      for (int c = 0; c < 2; ++c) {
        qToLittleEndian(static_cast<std::uint16_t>(SampleAt(start + i, c)), p);
        p += 2;
      }
    }
    if (f.write(chunk) != chunk.size())
      return false;
  }
  return true;
}

bool WriteFileBytes(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray EncodeText(const QString &text, const char *encoding, bool bom) {
  QStringEncoder encoder(encoding,
                         bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
  QByteArray out = encoder.encode(text);
  return out;
}

} // namespace testsupport
