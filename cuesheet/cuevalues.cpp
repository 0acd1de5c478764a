// Keyword values in their stored, quoted form.
#include "cuesheet/cuevalues.h"

namespace {

QString unquote(const QString &stored) {
  // stored is "value" with inner quotes doubled.
  QString inner = stored.mid(1, stored.size() - 2);
  return inner.replace(QStringLiteral("\"\""), QStringLiteral("\""));
}

} // namespace

int TCueValues::IndexOf(const QString &keyword) const {
  for (int i = 0; i < entries_.size(); ++i) {
    const QString &e = entries_[i];
    const qsizetype eq = e.indexOf(QLatin1Char('='));
    if (eq == keyword.size() && e.left(eq).compare(keyword, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

QString TCueValues::Get(const QString &keyword) const {
  const int i = IndexOf(keyword);
  if (i < 0)
    return {};
  const QString &e = entries_[i];
  return unquote(e.mid(e.indexOf(QLatin1Char('=')) + 1));
}

void TCueValues::Add(const QString &keyword, const QString &value) {
  QString quoted = value;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  entries_.append(keyword + QLatin1Char('=') + QLatin1Char('"') + quoted + QLatin1Char('"'));
}

QString TCueValues::Keyword(int index) const {
  const QString &e = entries_.at(index);
  return e.left(e.indexOf(QLatin1Char('=')));
}
