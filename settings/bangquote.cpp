// Bang quoting; the list split is the macro expander's quoted-text split with '!' as the extra
// quote mark.
#include "settings/bangquote.h"

#include "macros/quoting.h"

namespace {
constexpr QChar Bang = u'!';
}

QString BangQuote(const QString &field) {
  QString text = field;
  text.replace(Bang, QStringLiteral("!!"));
  return Bang + text + Bang;
}

QString BangUnquote(const QString &text) {
  if (text.size() < 2 || !text.startsWith(Bang) || !text.endsWith(Bang))
    return text;
  QString inner = text.mid(1, text.size() - 2);
  inner.replace(QStringLiteral("!!"), QString(Bang));
  return inner;
}

QStringList SplitBangList(const QString &text, QChar delimiter) {
  return SplitOutsideQuotes(text, delimiter, Bang);
}
