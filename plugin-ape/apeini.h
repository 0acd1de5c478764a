// Integer values in an INI file with Windows semantics: section and key names compared without
// regard to case, the rest of the file kept as it stands when one value is written.
#pragma once

#include <QString>

// The value of `key` in `section`, or `defaultValue` when the file, the section or the key is
// missing or the value does not start with a number. Leading digits count ("7x" reads 7).
int ReadIniInteger(const QString &fileName, const QString &section, const QString &key,
                   int defaultValue);

// Sets `key` in `section` (both made when missing) and saves the file atomically: a temporary
// file renamed over the old one, so a failed save leaves the old file whole. False on failure.
bool WriteIniInteger(const QString &fileName, const QString &section, const QString &key,
                     int value);
