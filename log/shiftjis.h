// The Shift_JIS encoder the XML log is written with. It writes a character as Shift_JIS bytes
// only when every common reader of Shift_JIS reads those bytes back as that same character:
// ASCII, the half-width katakana and the JIS X 0208 characters on which the strict mapping and
// the Windows code page (CP932) agree. Everything else (¥ and ‾, which other encoders fold into
// \ and ~; the wave dash and the other characters the two mappings disagree on; the CP932
// extensions; Hangul, emoji, …) is left to libxml2, which writes it as a character reference.
#pragma once

#include <QByteArray>

struct _xmlCharEncodingHandler; // libxml2's xmlCharEncodingHandler

// The two bytes (or one) for the character, or empty when it must be a character reference.
QByteArray EncodeShiftJisChar(char32_t code);

// An output-only libxml2 encoding handler named "Shift_JIS" built on EncodeShiftJisChar. It is
// not registered with libxml2 and owns no resources: pass it to xmlOutputBufferCreateIO.
_xmlCharEncodingHandler *ShiftJisOutputHandler();
