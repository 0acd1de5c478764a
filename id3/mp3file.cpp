// Producing the MP3 file: tag, encoder output without its own tag, temporary file and rename.
#include "id3/mp3file.h"

#include "id3/id3tag.h"
#include "messages/error.h"
#include "messages/str.h"

#include <QFile>
#include <QSaveFile>
#include <array>
#include <exception>

namespace {

constexpr qint64 CopyChunk = 64 * 1024;
constexpr qint64 HeaderSize = 10;
constexpr char FooterFlag = 0x10;

void Require(bool ok, const QString &message) {
  if (!ok)
    throw TError(message);
}

// Copies src from its current position to the end; returns the number of bytes copied.
qint64 CopyRest(QFile &src, QSaveFile &dst, const QString &message) {
  std::array<char, CopyChunk> buffer;
  qint64 copied = 0;
  for (;;) {
    const qint64 n = src.read(buffer.data(), CopyChunk);
    Require(n >= 0, message);
    if (n == 0)
      return copied;
    Require(dst.write(buffer.data(), n) == n, message);
    copied += n;
  }
}

// The size of an ID3v2 tag at the start of a file from its 10 header bytes, or 0 when the bytes
// are no ID3v2 header.
qint64 ID3v2TagSize(const char *header, qint64 n) {
  if (n < HeaderSize || header[0] != 'I' || header[1] != 'D' || header[2] != '3')
    return 0;
  qint64 size = 0;
  for (int i = 6; i < 10; ++i)
    size = (size << 7) | (static_cast<unsigned char>(header[i]) & 0x7F);
  // An ID3v2.4 footer repeats the header after the frames.
  if (header[3] == 4 && (header[5] & FooterFlag))
    size += HeaderSize;
  return HeaderSize + size;
}

void OpenPair(QFile &src, QSaveFile &dst, const QString &message) {
  Require(src.open(QIODevice::ReadOnly), message);
  dst.setDirectWriteFallback(false);
  Require(dst.open(QIODevice::WriteOnly), message);
}

} // namespace

void WriteTaggedMP3(const TID3Tag &tag, const QString &encodedPath, const QString &mp3Path) {
  const QString &message = str::_err_MargeTagToMP3;
  QFile src(encodedPath);
  QSaveFile dst(mp3Path);
  OpenPair(src, dst, message);
  tag.WriteTo(dst);

  char header[HeaderSize];
  const qint64 n = src.read(header, HeaderSize);
  Require(n >= 0, message);
  qint64 audio = 0;
  if (const qint64 skip = ID3v2TagSize(header, n); skip > 0) {
    // A tag that claims more than the file holds leaves no audio.
    Require(skip < src.size() && src.seek(skip), message);
  } else {
    Require(dst.write(header, n) == n, message);
    audio = n;
  }
  audio += CopyRest(src, dst, message);
  Require(audio > 0, message);
  Require(dst.commit(), message);
}

void CopyMP3File(const QString &encodedPath, const QString &mp3Path) {
  const QString &message = str::_err_CreateMP3File;
  QFile src(encodedPath);
  QSaveFile dst(mp3Path);
  OpenPair(src, dst, message);
  Require(CopyRest(src, dst, message) > 0, message);
  Require(dst.commit(), message);
}

TMP3FileResult MakeMP3File(const TID3Tag &tag, const QString &encodedPath, const QString &mp3Path) {
  try {
    WriteTaggedMP3(tag, encodedPath, mp3Path);
    return TMP3FileResult::Tagged;
  } catch (const std::exception &) {
    // Tagging failed: the audio is still worth keeping untagged.
  }
  try {
    CopyMP3File(encodedPath, mp3Path);
    return TMP3FileResult::Untagged;
  } catch (const std::exception &) {
    return TMP3FileResult::Failed;
  }
}
