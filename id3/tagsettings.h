// The tag-wide fields of a TID3Tag, taken from the [Tag] settings values.
#pragma once

#include <cstdint>

// The settings values that shape a tag, under their store key names.
struct TID3TagSettings {
  int TagVerMJ = 3;
  int TagVerMNV23 = 0;
  int TagVerMNV24 = 0;
  int TagTextCodeV23 = 1;
  int TagTextCodeV24 = 1;
  bool TagTermNull = false;
  int TagPadSize = 256;
};

// The constructor arguments of a TID3Tag.
struct TID3TagOptions {
  std::uint16_t Version = 0x0300; // major version in the high byte, revision in the low byte
  std::uint16_t Padding = 0;
  bool Terminate = false;
  bool OmitBOM = true;
  std::uint8_t Encoding = 0;
};

// Maps the settings to a tag's fields. ID3v2.4 when TagVerMJ is 4, otherwise ID3v2.3 (as the
// settings dialog reads it). ID3v2.3 knows only ISO-8859-1 and UTF-16 with a byte-order mark,
// so its UTF-16BE choice and any code outside 0..2 write UTF-16 with a byte-order mark; an
// ID3v2.4 code outside 0..3 writes UTF-16 as well. A byte-order mark is written exactly for
// encoding 1, the only one whose byte order the frame does not state. A negative code is 0;
// the padding is kept within 0..4096.
TID3TagOptions ID3TagOptionsFromSettings(const TID3TagSettings &settings);
