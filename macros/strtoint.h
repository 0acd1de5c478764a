// The integer conversion that cue values, user macro numbers and reference formats share.
#pragma once

#include <QString>

// Converts text to a 32-bit signed integer. Accepted: an optional '+' or '-', then either
// decimal digits, or hexadecimal digits (either case) after '$', 'x', 'X', '0x' or '0X'.
// Nothing else is allowed, blanks included (callers trim first). The signed value must lie in
// -2147483648..2147483647; anything out of range, empty or malformed gives false and leaves
// value unchanged.
bool TryStrToInt(const QString &text, int &value);
