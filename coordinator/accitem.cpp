// The four keyword tests under both case behaviours.
#include "coordinator/accitem.h"

#include "coordinator/accrule.h"

#include <QLocale>

TACCItem::TACCItem(int level, const QString &keywords, QChar condition)
    : Level(level), Condition(condition), keywords_(ParseACCKeywords(keywords)) {}

int TACCItem::Match(const QString &value, bool matchAsText) const {
  if (value.isEmpty())
    return -1;
  const Qt::CaseSensitivity cs = matchAsText ? Qt::CaseInsensitive : Qt::CaseSensitive;
  const QLocale locale;
  const QString upperValue = matchAsText ? locale.toUpper(value) : value;
  for (int i = 0; i < Count(); ++i) {
    const QString &k = keywords_[i];
    bool hit;
    switch (Condition.unicode()) {
    case u'^':
      hit = value.size() >= k.size() && QStringView(value).left(k.size()).compare(k, cs) == 0;
      break;
    case u'$':
      hit = value.size() >= k.size() && QStringView(value).right(k.size()).compare(k, cs) == 0;
      break;
    case u'>':
      hit = upperValue.contains(matchAsText ? locale.toUpper(k) : k, Qt::CaseSensitive);
      break;
    default:
      hit = value.compare(k, cs) == 0;
      break;
    }
    if (hit)
      return i;
  }
  return -1;
}
