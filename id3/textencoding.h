// The four text encodings of ID3v2 frames, with their byte-order marks and terminators.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

enum TID3TextEncoding : std::uint8_t {
  teLatin1 = 0,  // ISO-8859-1 (the 8-bit code page of encoding byte 0 and of URLs)
  teUTF16LE = 1, // UTF-16 little-endian, byte-order mark FF FE
  teUTF16BE = 2, // UTF-16 big-endian, byte-order mark FE FF
  teUTF8 = 3,    // UTF-8, byte-order mark EF BB BF
};

// ISO-8859-1 bytes of text; every character outside it (a surrogate pair counting as one
// character) becomes "?".
QByteArray EncodeLatin1(const QString &text);

// text in the given encoding (0..3), preceded by the encoding's byte-order mark when bom is set
// (Latin-1 has none) and followed by its terminator (one NUL, two for UTF-16) when terminate is
// set.
QByteArray EncodeID3Text(const QString &text, std::uint8_t encoding, bool bom, bool terminate);
