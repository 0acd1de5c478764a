// The shared integer conversion; see strtoint.h.
#include "macros/strtoint.h"

#include <cstdint>

bool TryStrToInt(const QString &text, int &value) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  bool negative = false;
  if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
    negative = text.at(i) == u'-';
    ++i;
  }
  unsigned base = 10;
  if (i < n && (text.at(i) == u'$' || text.at(i) == u'x' || text.at(i) == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text.at(i) == u'0' &&
             (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= n)
    return false;
  // The largest magnitude allowed: 2^31 for a negative number, 2^31 - 1 otherwise.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (; i < n; ++i) {
    const char16_t c = text.at(i).unicode();
    int digit;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f')
      digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F')
      digit = c - u'A' + 10;
    else
      return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit)
      return false;
  }
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}
