// Text encoding for ID3v2 frames.
#include "id3/textencoding.h"

#include <QStringView>

QByteArray EncodeLatin1(const QString &text) {
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.unicode() <= 0xFF) {
      out.append(static_cast<char>(c.unicode()));
      continue;
    }
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
      ++i;
    out.append('?');
  }
  return out;
}

namespace {

QByteArray EncodeUTF16(const QString &text, bool bigEndian) {
  QByteArray out;
  out.reserve(text.size() * 2);
  for (const QChar c : text) {
    const auto hi = static_cast<char>(c.unicode() >> 8);
    const auto lo = static_cast<char>(c.unicode() & 0xFF);
    out.append(bigEndian ? hi : lo);
    out.append(bigEndian ? lo : hi);
  }
  return out;
}

} // namespace

QByteArray EncodeID3Text(const QString &text, std::uint8_t encoding, bool bom, bool terminate) {
  QByteArray out;
  switch (encoding) {
  case teUTF16LE:
    if (bom)
      out.append("\xFF\xFE", 2);
    out.append(EncodeUTF16(text, false));
    break;
  case teUTF16BE:
    if (bom)
      out.append("\xFE\xFF", 2);
    out.append(EncodeUTF16(text, true));
    break;
  case teUTF8:
    if (bom)
      out.append("\xEF\xBB\xBF", 3);
    out.append(text.toUtf8());
    break;
  default:
    out.append(EncodeLatin1(text));
    break;
  }
  if (terminate)
    out.append(encoding == teUTF16LE || encoding == teUTF16BE ? 2 : 1, '\0');
  return out;
}
