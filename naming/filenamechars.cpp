// The file-name character map; see filenamechars.h.
#include "naming/filenamechars.h"

#include "messages/str.h"

int ForbiddenFileNameCharIndex(QChar c) {
  const qsizetype index = str::_env_default_charmap_inv.indexOf(c);
  return static_cast<int>(index);
}

bool ContainsForbiddenFileNameChar(const QString &text) {
  for (const QChar c : text)
    if (ForbiddenFileNameCharIndex(c) >= 0)
      return true;
  return false;
}

QString MapFileNameChars(const QString &text, const QString &charMap) {
  QString result = text;
  for (QChar &c : result) {
    const int index = ForbiddenFileNameCharIndex(c);
    if (index >= 0)
      c = index < charMap.size() ? charMap[index] : str::_env_default_charmap[index];
    else if (c.category() == QChar::Other_Control)
      c = u' ';
  }
  return result;
}
