// Quoted texts with backslash escapes; see quoting.h for the rules.
#include "macros/quoting.h"

namespace {

bool IsQuoteChar(QChar c) {
  return c == u'"' || c == u'\'';
}

int HexDigitValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}

bool IsOctalDigit(QChar c) {
  return c >= u'0' && c <= u'7';
}

// The character a backslash followed by letter stands for, or letter itself.
QChar SimpleEscape(QChar letter) {
  switch (letter.unicode()) {
  case u'a':
    return QChar(7);
  case u'b':
    return QChar(8);
  case u'f':
    return QChar(12);
  case u'n':
    return QChar(10);
  case u'r':
    return QChar(13);
  case u't':
    return QChar(9);
  case u'v':
    return QChar(11);
  default:
    return letter;
  }
}

// Copies the characters of text between from and to (exclusive), which lie inside quotes of
// kind q, resolving doubled quotes and escapes. False on a malformed escape or a lone q.
bool UnquoteInner(const QString &text, qsizetype from, qsizetype to, QChar q, QString &out) {
  out.reserve(to - from);
  qsizetype i = from;
  while (i < to) {
    const QChar c = text.at(i);
    if (c == q) {
      if (i + 1 >= to || text.at(i + 1) != q)
        return false;
      out.append(q);
      i += 2;
      continue;
    }
    if (c != u'\\') {
      out.append(c);
      ++i;
      continue;
    }
    ++i; // the backslash
    if (i >= to)
      return false;
    const QChar e = text.at(i);
    if (e == u'x') {
      ++i;
      unsigned value = 0;
      qsizetype digits = 0;
      for (int d; i < to && (d = HexDigitValue(text.at(i))) >= 0; ++i, ++digits)
        value = (value * 16 + static_cast<unsigned>(d)) & 0xFFFFu;
      if (digits == 0)
        return false;
      out.append(QChar(static_cast<char16_t>(value)));
    } else if (IsOctalDigit(e)) {
      unsigned value = 0;
      for (int n = 0; n < 3 && i < to && IsOctalDigit(text.at(i)); ++n, ++i)
        value = value * 8 + (text.at(i).unicode() - u'0');
      out.append(QChar(static_cast<char16_t>(value)));
    } else {
      out.append(SimpleEscape(e));
      ++i;
    }
  }
  return true;
}

} // namespace

QString TrimBlanks(const QString &text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first).unicode() <= 32)
    ++first;
  while (last > first && text.at(last - 1).unicode() <= 32)
    --last;
  return text.mid(first, last - first);
}

bool ParseQuotedString(const QString &text, QString &result, bool &quoted) {
  // result may be text itself, so it is written only at the end.
  const QChar q = text.isEmpty() ? QChar() : text.at(0);
  quoted = IsQuoteChar(q);
  if (!quoted) {
    result = TrimBlanks(text);
    return true;
  }
  QString inner;
  const bool ok =
      text.size() >= 2 && text.back() == q && UnquoteInner(text, 1, text.size() - 1, q, inner);
  result = ok ? inner : QString();
  return ok;
}

int FindCharOutsideQuotes(const QString &text, QChar c, int start, QChar extraQuote) {
  const qsizetype n = text.size();
  for (qsizetype i = start < 1 ? 0 : start - 1; i < n; ++i) {
    const QChar ch = text.at(i);
    if (ch == c)
      return static_cast<int>(i + 1);
    if (IsQuoteChar(ch) || (!extraQuote.isNull() && ch == extraQuote)) {
      ++i;
      while (i < n && text.at(i) != ch)
        i += text.at(i) == u'\\' ? 2 : 1;
      if (i >= n)
        return 0;
    }
  }
  return 0;
}

QStringList SplitOutsideQuotes(const QString &text, QChar separator, QChar extraQuote) {
  QStringList pieces;
  if (text.isEmpty())
    return pieces;
  int from = 1;
  for (;;) {
    const int at = FindCharOutsideQuotes(text, separator, from, extraQuote);
    if (at == 0) {
      pieces.append(text.mid(from - 1));
      return pieces;
    }
    pieces.append(text.mid(from - 1, at - from));
    from = at + 1;
  }
}

QString EscapeForDisplay(const QString &text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    if (c.category() != QChar::Other_Control) {
      out.append(c);
      continue;
    }
    out.append(u'\\');
    switch (c.unicode()) {
    case 0:
      out.append(u'0');
      break;
    case 7:
      out.append(u'a');
      break;
    case 8:
      out.append(u'b');
      break;
    case 9:
      out.append(u't');
      break;
    case 10:
      out.append(u'n');
      break;
    case 11:
      out.append(u'v');
      break;
    case 12:
      out.append(u'f');
      break;
    case 13:
      out.append(u'r');
      break;
    default:
      out.append(u'?');
      break;
    }
  }
  return out;
}
