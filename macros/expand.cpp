// The macro expander; see expand.h.
#include "macros/expand.h"

#include "macros/catalogue.h"
#include "macros/quoting.h"
#include "macros/strtoint.h"

#include <exception>

namespace {

constexpr int MaxFieldCount = 4;
constexpr int MinFormatWidth = 1;
constexpr int MaxFormatWidth = 10;

// A ';'-separated name list; one trailing ';' is allowed, empty names are not.
bool ParseNameList(const QString &field, QStringList &names) {
  QString list = field;
  if (list.endsWith(u';'))
    list.chop(1);
  names = list.split(u';');
  for (const QString &name : names)
    if (!IsValidMacroName(name))
      return false;
  return true;
}

// A prefix or suffix: empty, or a well-formed quoted string.
bool ParseAffix(const QString &field, QString &text) {
  if (field.isEmpty())
    return true;
  bool quoted = false;
  return ParseQuotedString(field, text, quoted) && quoted;
}

bool ParseFormat(const QString &field, QString &format) {
  if (field.isEmpty())
    return true;
  int width = 0;
  if (!TryStrToInt(field, width) || width < MinFormatWidth || width > MaxFormatWidth)
    return false;
  format = field;
  return true;
}

QString FormatNumber(qint32 number, const QString &format) {
  int width = 0;
  if (format.isEmpty() || !TryStrToInt(format, width))
    return QString::number(number);
  const bool negative = number < 0;
  const QString digits = QString::number(negative ? -qint64(number) : qint64(number));
  const QString sign = negative ? QStringLiteral("-") : QString();
  if (format.startsWith(u'0'))
    return sign + digits.rightJustified(width - sign.size(), u'0');
  return (sign + digits).rightJustified(width, u' ');
}

bool ExpandReferenceUnguarded(const QString &body, const TMacroScope &scope, bool undefinedIsEmpty,
                              QString &result) {
  TMacroReference ref;
  if (!ParseReference(body, ref))
    return false;
  TMacroType type = mtNone;
  const TMacroValue *v = nullptr;
  for (const QString &name : ref.Names)
    if ((v = ResolveMacro(name, type, scope)))
      break;
  if (!v)
    return undefinedIsEmpty;
  if (!v->Is(TMacroValue::HasValue))
    return false;
  switch (v->Type) {
  case mtNone:
    return true;
  case mtNumber:
    result = ref.Prefix + FormatNumber(v->Number, ref.Format) + ref.Suffix;
    return true;
  case mtText:
    result = ref.Prefix + v->Text + ref.Suffix;
    return true;
  }
  return false;
}

bool ExpandTemplateUnguarded(const QString &tmpl, const TMacroScope &scope, bool undefinedIsEmpty,
                             QString &result) {
  QString out;
  qsizetype i = 0;
  const qsizetype n = tmpl.size();
  while (i < n) {
    const qsizetype open = tmpl.indexOf(u'%', i);
    if (open < 0) {
      out.append(QStringView(tmpl).mid(i));
      break;
    }
    out.append(QStringView(tmpl).mid(i, open - i));
    const qsizetype close = tmpl.indexOf(u'%', open + 1);
    if (close < 0)
      return false;
    if (close == open + 1) {
      out.append(u'%');
    } else {
      QString text;
      if (!ExpandReference(TrimBlanks(tmpl.mid(open + 1, close - open - 1)), scope,
                           undefinedIsEmpty, text))
        return false;
      out.append(text);
    }
    i = close + 1;
  }
  result = out;
  return true;
}

// Runs one expansion into a fresh text (result may be the input itself) and turns an exception
// into a failure; result gets the text on success and is emptied on failure.
template <typename Expander> bool Guarded(Expander expand, QString &result) {
  QString text;
  bool ok = false;
  try {
    ok = expand(text);
  } catch (const std::exception &) {
    ok = false;
  }
  result = ok ? text : QString();
  return ok;
}

} // namespace

bool ParseReference(const QString &body, TMacroReference &ref) {
  ref = TMacroReference();
  if (body.isEmpty())
    return false;
  const QStringList fields = SplitOutsideQuotes(body, u',');
  TMacroReference parsed;
  const bool ok = fields.size() <= MaxFieldCount &&
                  ParseNameList(TrimBlanks(fields[0]), parsed.Names) &&
                  (fields.size() < 2 || ParseAffix(TrimBlanks(fields[1]), parsed.Prefix)) &&
                  (fields.size() < 3 || ParseAffix(TrimBlanks(fields[2]), parsed.Suffix)) &&
                  (fields.size() < 4 || ParseFormat(TrimBlanks(fields[3]), parsed.Format));
  if (ok)
    ref = parsed;
  return ok;
}

bool ExpandReference(const QString &body, const TMacroScope &scope, bool undefinedIsEmpty,
                     QString &result) {
  return Guarded(
      [&](QString &text) { return ExpandReferenceUnguarded(body, scope, undefinedIsEmpty, text); },
      result);
}

bool ExpandTemplate(const QString &tmpl, const TMacroScope &scope, bool undefinedIsEmpty,
                    QString &result) {
  return Guarded(
      [&](QString &text) { return ExpandTemplateUnguarded(tmpl, scope, undefinedIsEmpty, text); },
      result);
}
