// Rule parsing and keyword lists of the compression coordinator.
#include "coordinator/accrule.h"

#include "macros/catalogue.h"
#include "macros/quoting.h"
#include "messages/str.h"

#include <QStringView>

namespace {

constexpr QStringView Specials = u":=^$>";

// 0-based index of the first special character at or after from, or -1.
qsizetype FindSpecial(const QString &text, qsizetype from) {
  for (qsizetype i = from; i < text.size(); ++i)
    if (Specials.contains(text[i]))
      return i;
  return -1;
}

// The level field: decimal digits with blanks around them; anything else counts as 0.
int ReadLevel(const QString &text) {
  const QString digits = TrimBlanks(text);
  if (digits.isEmpty() || digits.size() > 9)
    return 0;
  int level = 0;
  for (const QChar c : digits) {
    if (c < u'0' || c > u'9')
      return 0;
    level = level * 10 + (c.unicode() - u'0');
  }
  return level;
}

} // namespace

QString NormalizeACCKeywords(const QString &keywords) {
  const QStringList pieces = SplitOutsideQuotes(keywords, u',');
  QString result;
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    const QString piece = TrimBlanks(pieces[i]);
    if (i == 0)
      result = piece;
    else if (!piece.isEmpty())
      result += u',' + piece;
  }
  return result;
}

QStringList ParseACCKeywords(const QString &keywords) {
  QStringList result;
  for (const QString &raw : SplitOutsideQuotes(keywords, u',')) {
    const QString piece = TrimBlanks(raw);
    if (piece.isEmpty())
      continue;
    QString keyword;
    bool quoted = false;
    if (ParseQuotedString(piece, keyword, quoted))
      result.append(keyword);
  }
  return result;
}

bool ParseACCRule(const QString &text, TACCRule &rule) {
  rule = {};
  const qsizetype len = text.size();
  if (len <= 4)
    return false;
  // Positions below are 0-based: b and d are the colon and the condition.
  const qsizetype b = FindSpecial(text, 0);
  if (b < 1 || b + 1 > len - 3 || text[b] != u':')
    return false;
  const int level = ReadLevel(text.left(b));
  if (level <= 0 || level > ACCLevelCount)
    return false;
  const qsizetype d = FindSpecial(text, b + 1);
  if (d < 0 || d == len - 1 || text[d] == u':')
    return false;
  const QString macroName = text.mid(b + 1, d - b - 1);
  if (!IsValidMacroName(macroName))
    return false;
  const QString keywords = NormalizeACCKeywords(text.mid(d + 1));
  if (keywords.isEmpty())
    return false;
  rule.Level = level;
  rule.Condition = text[d];
  rule.Keywords = keywords;
  rule.MacroName = macroName;
  return true;
}

QString ACCConditionName(QChar condition) {
  const qsizetype index = QStringView(ACCConditions).indexOf(condition);
  if (index < 0)
    return {};
  return str::_acc_conditions.split(u',').value(index);
}
