// Builds the bytes of WAV files for tests: any chunks in any order, sizes that may lie, and
// frame data with a recognisable pattern.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

inline void AppendLE(QByteArray &out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

struct TWavChunk {
  // size: the size field when it must differ from body's size; pad false: no pad byte after an
  // odd body (the last chunk of a truncated file).
  TWavChunk(QByteArray id, QByteArray body, std::optional<std::uint32_t> size = {}, bool pad = true)
      : Id(std::move(id)), Body(std::move(body)), Size(size), Pad(pad) {}

  QByteArray Id; // four characters
  QByteArray Body;
  std::optional<std::uint32_t> Size;
  bool Pad;
};

// "RIFF", size, "WAVE" and the chunks. riffSize defaults to the true size.
inline QByteArray BuildWav(const QList<TWavChunk> &chunks,
                           std::optional<std::uint32_t> riffSize = {}) {
  QByteArray body("WAVE");
  for (const TWavChunk &c : chunks) {
    body += c.Id;
    AppendLE(body, c.Size.value_or(static_cast<std::uint32_t>(c.Body.size())), 4);
    body += c.Body;
    if (c.Pad && (c.Body.size() & 1))
      body.append('\0');
  }
  QByteArray out("RIFF");
  AppendLE(out, riffSize.value_or(static_cast<std::uint32_t>(body.size())), 4);
  return out + body;
}

// The 16-byte body of a plain format chunk; blockAlign defaults to channels * bits / 8.
inline QByteArray FmtBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                          std::uint16_t bits, std::optional<std::uint16_t> blockAlign = {}) {
  const std::uint16_t align = blockAlign.value_or(static_cast<std::uint16_t>(channels * bits / 8));
  QByteArray b;
  AppendLE(b, tag, 2);
  AppendLE(b, channels, 2);
  AppendLE(b, rate, 4);
  AppendLE(b, rate * align, 4);
  AppendLE(b, align, 2);
  AppendLE(b, bits, 2);
  return b;
}

// The 40-byte body of a WAVE_FORMAT_EXTENSIBLE format chunk whose sub-format GUID begins with
// subTag (1 integer PCM, 3 floating point).
inline QByteArray ExtensibleFmtBody(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                                    std::uint16_t validBits, std::uint16_t subTag = 1) {
  QByteArray b = FmtBody(0xFFFE, channels, rate, bits);
  AppendLE(b, 22, 2);
  AppendLE(b, validBits, 2);
  AppendLE(b, channels == 2 ? 3 : 0, 4); // channel mask
  AppendLE(b, subTag, 4);
  b += QByteArray::fromHex("000010008000"
                           "00aa00389b71");
  return b;
}

// frames * blockAlign bytes, different from frame to frame and from byte to byte.
inline QByteArray FrameBytes(int frames, int blockAlign, std::uint32_t seed = 1) {
  QByteArray out;
  out.reserve(frames * blockAlign);
  std::uint32_t x = seed * 2654435761u + 12345u;
  for (int i = 0; i < frames * blockAlign; ++i) {
    x = x * 1103515245u + 12345u;
    out.append(static_cast<char>(x >> 24));
  }
  return out;
}

// Writes a new file each time: rewriting a file in place by truncating it makes some file systems
// flush it to disk on close, which a test writing thousands of files cannot afford.
inline bool WriteBytes(const QString &path, const QByteArray &bytes) {
  QFile::remove(path);
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::NewOnly) && f.write(bytes) == bytes.size();
}
