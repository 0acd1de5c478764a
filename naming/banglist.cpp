// Reading and writing the bang-list form of one ID3 tag definition; see banglist.h.
#include "naming/banglist.h"

namespace {

constexpr QChar Bang = u'!';
constexpr QChar Separator = u';';

} // namespace

bool ParseBangList(const QString &text, QStringList &fields) {
  fields.clear();
  const qsizetype len = text.size();
  qsizetype pos = 0;
  while (pos < len) {
    if (text[pos] != Bang)
      return pos == 0; // no leading "!" at all: no fields; a stray character later: invalid
    ++pos;
    QString field;
    bool closed = false;
    while (pos < len) {
      const QChar c = text[pos];
      if (c != Bang) {
        field += c;
        ++pos;
        continue;
      }
      if (pos + 1 < len && text[pos + 1] == Bang) {
        field += Bang;
        pos += 2;
        continue;
      }
      if (pos + 1 == len || text[pos + 1] == Separator) {
        closed = true;
        ++pos;
        break;
      }
      return false; // a single "!" followed by something else
    }
    if (!closed)
      return false;
    fields.append(field);
    if (pos < len)
      ++pos; // the ";" after the field
  }
  return true;
}

QString MakeBangList(const QStringList &fields) {
  QString result;
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0)
      result += Separator;
    QString field = fields[i];
    field.replace(Bang, QStringLiteral("!!"));
    result += Bang + field + Bang;
  }
  return result;
}
