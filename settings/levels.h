// Compression levels: the level code that packs a LAME method, value and quality into 32 bits,
// its option text, and the CLList text that stores the five levels.
#pragma once

#include <QList>
#include <QString>
#include <array>
#include <cstdint>

// Bits 31..24 the method (TLevelType), 23..16 the quality 0..9, 15..0 the value: a CBR index
// into CBRBitRates, an ABR bit rate 8..320 or a VBR level 0..10. -1 is no code at all.
using LevelCode = std::int32_t;

enum TLevelType : int { ltNone = 0, ltCBR = 1, ltABR = 2, ltVBR = 3 };

// The CBR bit rates in kbit/s, by CBR index.
inline constexpr std::array<int, 14> CBRBitRates = {32,  40,  48,  56,  64,  80,  96,
                                                    112, 128, 160, 192, 224, 256, 320};

// One level of a level table: its option text and its code (-1 undefined, 0 custom, whose text
// is the custom option text itself).
struct TLevelEntry {
  QString Text;
  LevelCode Value = -1;

  bool operator==(const TLevelEntry &) const = default;
};
using TLevelTable = QList<TLevelEntry>;

// The LAME options of one method: "--cbr -b <rate>" for a CBR index (clamped to CBRBitRates),
// "--abr <rate>", "-V <level>"; empty for ltNone and unknown types. Values are not checked.
QString MethodOptions(int type, int value);
// " -q <quality>", the quality option appended after a method.
QString QualityOption(int quality);

// The code of a valid method, value and quality; -1 when they are not valid together.
LevelCode EncodeLevelCode(int type, int value, int quality);

// Splits a code into its fields; the result tells whether the code is valid.
bool DecodeLevelCode(LevelCode code, int &type, int &value, int &quality);

// The LAME option text of a code; empty for a code that gives no method.
QString LevelCodeToOptions(LevelCode code);

// Replaces table by exactly count levels read from a CLList text. A field that is empty,
// invalid or not a number leaves its level undefined; missing fields too.
void ParseLevelList(int count, const QString &text, TLevelTable &table);

// The CLList text of a level table.
QString FormatLevelList(const TLevelTable &table);

// The level (1..5) that a level name ("CL1".."CL5", "High", "Medium", "Low", any case) stands
// for; 0 for the empty text and for any other name.
int LevelByName(const QString &name);
