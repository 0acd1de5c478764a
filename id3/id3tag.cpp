// TID3Tag: frames from tag names, frame bodies in the four encodings, the ID3v2 header and the
// padding.
#include "id3/id3tag.h"

#include "id3/tagname.h"
#include "id3/tagsettings.h"
#include "id3/textencoding.h"
#include "messages/error.h"
#include "messages/str.h"

#include <QByteArray>
#include <QIODevice>
#include <algorithm>

namespace {

// Sizes that four sync-safe bytes can hold.
constexpr std::int64_t MaxSyncSafe = 0x0FFFFFFF;
constexpr std::int64_t PaddingPiece = 256;

void AppendSyncSafe(QByteArray &out, std::uint32_t value) {
  out.append(static_cast<char>((value >> 21) & 0x7F));
  out.append(static_cast<char>((value >> 14) & 0x7F));
  out.append(static_cast<char>((value >> 7) & 0x7F));
  out.append(static_cast<char>(value & 0x7F));
}

void AppendBigEndian32(QByteArray &out, std::uint32_t value) {
  out.append(static_cast<char>(value >> 24));
  out.append(static_cast<char>(value >> 16));
  out.append(static_cast<char>(value >> 8));
  out.append(static_cast<char>(value));
}

void WriteAll(QIODevice &stream, const char *data, std::int64_t size) {
  if (stream.write(data, size) != size)
    throw TError(str::_err_MargeTagToMP3);
}

} // namespace

TID3Tag::TID3Tag(std::uint16_t version, std::uint16_t padding, bool terminate, bool omitBOM,
                 std::uint8_t encoding)
    : version_(version), padding_(padding), terminate_(terminate), omitBOM_(omitBOM),
      encoding_(encoding > teUTF8 ? std::uint8_t(teUTF16LE) : encoding) {}

TID3Tag::TID3Tag(const TID3TagOptions &options)
    : TID3Tag(options.Version, options.Padding, options.Terminate, options.OmitBOM,
              options.Encoding) {}

int TID3Tag::IndexOf(const QString &key) const {
  for (std::size_t i = 0; i < frames_.size(); ++i)
    if (frames_[i].Key.compare(key, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

int TID3Tag::AddFrame(const QString &tagName, const QString &text, std::uint16_t flags) {
  const TTagName name = ParseTagName(tagName);
  if (!name.IsValid())
    return -1;
  const QString key = CanonicalTagName(name.ID, name.Extension);
  if (IndexOf(key) >= 0)
    return -1;

  auto info = std::make_unique<TID3TagInfo>();
  info->Type = name.Type;
  info->ID = name.ID;
  info->Latin1 = name.Latin1;
  info->Text = text;
  info->Flags = flags;
  if (name.Type == ftUserText || name.Type == ftUserURL) {
    info->Description = name.Extension;
  } else if (name.Type == ftComment) {
    info->Language = name.Extension.left(3);
    info->Description = name.Extension.mid(4);
  }
  frames_.push_back({key, std::move(info)});
  return Count() - 1;
}

namespace {

struct FrameWriter {
  std::uint8_t encoding;
  bool bom;
  bool terminate;

  QByteArray Enc(const QString &text, bool terminated) const {
    return EncodeID3Text(text, encoding, bom, terminated);
  }
  QByteArray Ansi(const QString &text, bool terminated) const {
    return EncodeID3Text(text, teLatin1, false, terminated);
  }

  QByteArray Body(const TID3TagInfo &frame) const {
    QByteArray body;
    if (frame.Type != ftURL)
      body.append(static_cast<char>(encoding));
    switch (frame.Type) {
    case ftText:
      body.append(Enc(frame.Text, terminate));
      break;
    case ftUserText:
      body.append(Enc(frame.Description, true));
      body.append(Enc(frame.Text, terminate));
      break;
    case ftURL:
      body.append(Ansi(frame.Text, terminate));
      break;
    case ftUserURL:
      body.append(Enc(frame.Description, true));
      body.append(Ansi(frame.Text, terminate));
      break;
    case ftComment:
      body.append(Ansi(frame.Language, false).leftJustified(3, ' ', true));
      body.append(Enc(frame.Description, true));
      body.append(Enc(frame.Text, terminate));
      break;
    }
    return body;
  }
};

} // namespace

std::int64_t TID3Tag::WriteTo(QIODevice &stream) const {
  const int major = version_ >> 8;
  std::vector<QByteArray> buffers;
  buffers.reserve(frames_.size());
  std::int64_t total = 10;
  for (const Entry &entry : frames_) {
    const TID3TagInfo &frame = *entry.Info;
    const FrameWriter writer{frame.Latin1 ? std::uint8_t(teLatin1) : encoding_, !omitBOM_,
                             terminate_};
    const QByteArray body = writer.Body(frame);
    // Bodies larger than the tag can describe are caught by the total below.
    const auto bodySize = static_cast<std::uint32_t>(body.size());
    QByteArray buffer;
    buffer.reserve(10 + body.size());
    buffer.append(EncodeLatin1(frame.ID).leftJustified(4, ' ', true));
    if (major == 3)
      AppendBigEndian32(buffer, bodySize);
    else
      AppendSyncSafe(buffer, bodySize);
    buffer.append(static_cast<char>(frame.Flags >> 8));
    buffer.append(static_cast<char>(frame.Flags & 0xFF));
    buffer.append(body);
    total += buffer.size();
    buffers.push_back(std::move(buffer));
  }
  total += padding_;
  if (total - 10 > MaxSyncSafe)
    throw TError(str::_err_MargeTagToMP3);

  QByteArray header("ID3", 3);
  header.append(static_cast<char>(major));
  header.append(static_cast<char>(version_ & 0xFF));
  header.append('\0');
  AppendSyncSafe(header, static_cast<std::uint32_t>(total - 10));
  WriteAll(stream, header.constData(), header.size());
  for (const QByteArray &buffer : buffers)
    WriteAll(stream, buffer.constData(), buffer.size());

  static const char zeros[PaddingPiece] = {};
  for (std::int64_t left = padding_; left > 0; left -= PaddingPiece)
    WriteAll(stream, zeros, std::min(left, PaddingPiece));
  return total;
}
