// The Shift_JIS table of the XML log encoder, made once from two independent decoders of every
// double-byte code: the strict Shift_JIS mapping (iconv) and the Windows code page (ICU through
// Qt). Codes on which they agree are the ones every reader understands alike.
#include "log/shiftjis.h"

#include <QList>
#include <QStringDecoder>
#include <array>
#include <cstring>
#include <iconv.h>
#include <libxml/encoding.h>
#include <mutex>
#include <vector>

namespace {

// One decoded character of a double-byte code, or 0 when the decoder has none for it.
char32_t DecodeStrict(iconv_t converter, unsigned char lead, unsigned char trail) {
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  char32_t out[2] = {0, 0};
  char *inPtr = in;
  size_t inLeft = 2;
  char *outPtr = reinterpret_cast<char *>(out);
  size_t outLeft = sizeof(out);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
      inLeft != 0 || outLeft != sizeof(char32_t))
    return 0;
  return out[0];
}

char32_t DecodeWindows(QStringDecoder &decoder, unsigned char lead, unsigned char trail) {
  const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  const QString text = decoder.decode(QByteArrayView(in, 2));
  const QList<uint> codes = text.toUcs4();
  if (codes.size() != 1 || codes[0] == 0xFFFD || codes[0] == 0x1A || codes[0] < 0x80)
    return 0;
  return codes[0];
}

// Double-byte codes by character, for the Basic Multilingual Plane (all of JIS X 0208 lies there).
class TShiftJisTable {
public:
  TShiftJisTable() : codes_(0x10000, 0) {
    iconv_t strict = iconv_open("UTF-32LE", "SHIFT_JIS");
    QStringDecoder windows("windows-31j", QStringConverter::Flag::Stateless);
    if (strict == reinterpret_cast<iconv_t>(-1) || !windows.isValid()) {
      if (strict != reinterpret_cast<iconv_t>(-1))
        iconv_close(strict);
      return; // no double-byte character can be vouched for: all become references
    }
    for (unsigned lead = 0x81; lead <= 0xEF; ++lead) {
      if (lead >= 0xA0 && lead <= 0xDF)
        continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F)
          continue;
        // JIS X 0208's reverse solidus: the standard's own table (and so the Shift_JIS-2004
        // readers) read it as the ASCII backslash, CP932 as the full-width one.
        if (lead == 0x81 && trail == 0x5F)
          continue;
        const char32_t a = DecodeStrict(strict, lead, trail);
        if (a == 0 || a > 0xFFFF || a != DecodeWindows(windows, lead, trail))
          continue;
        if (codes_[a] == 0)
          codes_[a] = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
    iconv_close(strict);
  }

  std::uint16_t Find(char32_t code) const { return code < 0x10000 ? codes_[code] : 0; }

private:
  std::vector<std::uint16_t> codes_;
};

const TShiftJisTable &Table() {
  static const TShiftJisTable table;
  return table;
}

// The bytes for one character into out; their number, 0 when it must be a reference.
int EncodeChar(char32_t code, unsigned char out[2]) {
  if (code < 0x80) {
    out[0] = static_cast<unsigned char>(code);
    return 1;
  }
  if (code >= 0xFF61 && code <= 0xFF9F) {
    out[0] = static_cast<unsigned char>(code - 0xFF61 + 0xA1);
    return 1;
  }
  const std::uint16_t pair = Table().Find(code);
  if (pair == 0)
    return 0;
  out[0] = static_cast<unsigned char>(pair >> 8);
  out[1] = static_cast<unsigned char>(pair & 0xFF);
  return 2;
}

// UTF-8 in, Shift_JIS out, by libxml2's contract for output functions: on return *inlen and
// *outlen hold the bytes consumed and written; -2 stops in front of a character this encoding
// does not write (libxml2 then writes a character reference and calls again).
int Utf8ToShiftJis(unsigned char *out, int *outlen, const unsigned char *in, int *inlen) {
  if (in == nullptr || inlen == nullptr) {
    *outlen = 0;
    if (inlen != nullptr)
      *inlen = 0;
    return 0;
  }
  const unsigned char *const inStart = in;
  const unsigned char *const inEnd = in + *inlen;
  unsigned char *const outStart = out;
  unsigned char *const outEnd = out + *outlen;
  int result = 0;
  while (in < inEnd) {
    const unsigned char lead = *in;
    int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (inEnd - in < length)
      break; // the rest of this character comes with the next call
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i)
      code = (code << 6) | (in[i] & 0x3F);
    unsigned char bytes[2];
    const int size = EncodeChar(code, bytes);
    if (size == 0) {
      result = -2;
      break;
    }
    if (outEnd - out < size)
      break;
    std::memcpy(out, bytes, static_cast<size_t>(size));
    out += size;
    in += length;
  }
  *inlen = static_cast<int>(in - inStart);
  *outlen = static_cast<int>(out - outStart);
  return result == 0 ? *outlen : result;
}

char handlerName[] = "Shift_JIS";

} // namespace

QByteArray EncodeShiftJisChar(char32_t code) {
  unsigned char bytes[2];
  return QByteArray(reinterpret_cast<const char *>(bytes), EncodeChar(code, bytes));
}

xmlCharEncodingHandler *ShiftJisOutputHandler() {
  static xmlCharEncodingHandler handler = [] {
    xmlCharEncodingHandler h{};
    h.name = handlerName;
    h.output = Utf8ToShiftJis;
    return h;
  }();
  return &handler;
}
