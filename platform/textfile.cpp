// Decoding of text files without a declared encoding; see textfile.h for the rule.
#include "platform/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <uchardet.h>

namespace {

// The Windows superset of Shift-JIS that Japanese rippers write; ICU knows it by this name.
const char *const kFallbackEncoding = "windows-31j";

struct ByteOrderMark {
  const char *bytes;
  int size;
  const char *encoding;
};

const ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", 3, "UTF-8"},
    {"\xFF\xFE", 2, "UTF-16LE"},
    {"\xFE\xFF", 2, "UTF-16BE"},
};

const ByteOrderMark *FindByteOrderMark(const QByteArray &bytes) {
  for (const ByteOrderMark &mark : kMarks) {
    if (bytes.startsWith(QByteArrayView(mark.bytes, mark.size)))
      return &mark;
  }
  return nullptr;
}

// What uchardet names, or empty when it names nothing this rule can use. Its "UTF-8" and
// "ASCII" are wrong guesses here, since the bytes have already failed the UTF-8 check.
QByteArray DetectWithUchardet(const QByteArray &bytes) {
  uchardet_t detector = uchardet_new();
  if (detector == nullptr)
    return {};
  QByteArray name;
  if (uchardet_handle_data(detector, bytes.constData(), static_cast<size_t>(bytes.size())) == 0) {
    uchardet_data_end(detector);
    name = QByteArray(uchardet_get_charset(detector));
  }
  uchardet_delete(detector);
  const QByteArray upper = name.toUpper();
  if (upper.isEmpty() || upper == "ASCII" || upper == "UTF-8")
    return {};
  // Japanese text is decoded with the Windows code page, which is what such files hold.
  if (upper == "SHIFT_JIS")
    return kFallbackEncoding;
  if (!QStringDecoder(name.constData()).isValid())
    return {};
  return name;
}

} // namespace

bool IsValidUtf8(const QByteArray &bytes) {
  const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
  const auto *end = p + bytes.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      ++p;
      continue;
    }
    int length;
    char32_t code;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (end - p < length)
      return false;
    for (int i = 1; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80)
        return false;
      code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return false;
    p += length;
  }
  return true;
}

QByteArray DetectTextEncoding(const QByteArray &bytes) {
  if (const ByteOrderMark *mark = FindByteOrderMark(bytes))
    return mark->encoding;
  if (IsValidUtf8(bytes))
    return "UTF-8";
  const QByteArray detected = DetectWithUchardet(bytes);
  return detected.isEmpty() ? QByteArray(kFallbackEncoding) : detected;
}

QString DecodeText(const QByteArray &bytes) {
  QByteArrayView body(bytes);
  if (const ByteOrderMark *mark = FindByteOrderMark(bytes))
    body = body.sliced(mark->size);
  QStringDecoder decoder(DetectTextEncoding(bytes).constData(), QStringConverter::Flag::Stateless);
  return decoder.decode(body);
}

QStringList SplitTextLines(const QString &text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = text.at(i);
    if (c != u'\r' && c != u'\n')
      continue;
    lines.append(text.mid(start, i - start));
    if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
      ++i;
    start = i + 1;
  }
  if (start < size)
    lines.append(text.mid(start));
  return lines;
}

bool LoadTextFileLines(const QString &path, QStringList &lines) {
  lines.clear();
  // Only regular files: reading a FIFO or a device could block for ever.
  if (!QFileInfo(path).isFile())
    return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return false;
  lines = SplitTextLines(DecodeText(bytes));
  return true;
}
