// ParseDecimal: the one reading of a stored whole number, shared by the store and the levels.
#pragma once

#include <QString>

// True when text is an optional sign followed by decimal digits only, in the range of int;
// value then holds the number. Leaves value alone otherwise.
bool ParseDecimal(const QString &text, int &value);
