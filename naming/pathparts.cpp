// Splitting and joining directory names; see pathparts.h.
#include "naming/pathparts.h"

#include <QDir>

bool IsPathDelimiter(QChar c) {
  return c == u'/' || c == u'\\';
}

QStringList SplitPathComponents(const QString &path) {
  QStringList components;
  QString current;
  for (const QChar c : path) {
    if (IsPathDelimiter(c)) {
      components.append(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.isEmpty())
    components.append(current);
  return components;
}

QString JoinPathComponents(const QStringList &components) {
  return components.join(QDir::separator());
}
