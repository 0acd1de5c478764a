// Strict decimal reading: no blanks, no hexadecimal, no partial numbers.
#include "settings/decimal.h"

bool ParseDecimal(const QString &text, int &value) {
  qsizetype start = 0;
  if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+'))
    start = 1;
  if (start == text.size())
    return false;
  for (qsizetype i = start; i < text.size(); ++i)
    if (text[i] < u'0' || text[i] > u'9')
      return false;
  bool ok = false;
  const int number = text.toInt(&ok, 10);
  if (!ok)
    return false;
  value = number;
  return true;
}
