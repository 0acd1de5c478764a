// Format's placeholder parser.
#include "messages/format.h"

#include <vector>

namespace str {
namespace {

struct Placeholder {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  QChar conv;
};

QString pad(const QString &body, const Placeholder &ph) {
  if (body.size() >= ph.width)
    return body;
  const qsizetype fill = ph.width - body.size();
  if (ph.left)
    return body + QString(fill, QLatin1Char(' '));
  if (ph.zero && ph.conv != QLatin1Char('s') && ph.conv != QLatin1Char('c')) {
    // Zeros go between the sign and the digits.
    if (body.startsWith(QLatin1Char('-')))
      return QLatin1Char('-') + QString(fill, QLatin1Char('0')) + body.mid(1);
    return QString(fill, QLatin1Char('0')) + body;
  }
  return QString(fill, QLatin1Char(' ')) + body;
}

// Text of one argument under one conversion; false when the two do not fit together.
bool render(const FormatArg &arg, const Placeholder &ph, QString &out) {
  const auto &v = arg.value();
  const char c = ph.conv.toLatin1();
  switch (c) {
  case 'd':
  case 'i':
  case 'u':
  case 'x':
  case 'X': {
    std::uint64_t magnitude = 0;
    bool negative = false;
    if (const auto *i = std::get_if<std::int64_t>(&v)) {
      if (c == 'd' || c == 'i') {
        negative = *i < 0;
        magnitude = negative ? 0 - static_cast<std::uint64_t>(*i) : static_cast<std::uint64_t>(*i);
      } else {
        // Unsigned views of a signed 32-bit value, as the C library shows them.
        magnitude = static_cast<std::uint32_t>(*i);
        if (*i < INT32_MIN || *i > static_cast<std::int64_t>(UINT32_MAX))
          magnitude = static_cast<std::uint64_t>(*i);
      }
    } else if (const auto *u = std::get_if<std::uint64_t>(&v)) {
      magnitude = *u;
    } else {
      return false;
    }
    QString digits = c == 'x'   ? QString::number(magnitude, 16)
                     : c == 'X' ? QString::number(magnitude, 16).toUpper()
                                : QString::number(magnitude);
    if (ph.precision >= 0 && digits.size() < ph.precision)
      digits = QString(ph.precision - digits.size(), QLatin1Char('0')) + digits;
    out = pad(negative ? QLatin1Char('-') + digits : digits, ph);
    return true;
  }
  case 's': {
    QString text;
    if (const auto *s = std::get_if<QString>(&v))
      text = *s;
    else if (const auto *ch = std::get_if<QChar>(&v))
      text = QString(*ch);
    else
      return false;
    if (ph.precision >= 0)
      text.truncate(ph.precision);
    out = pad(text, ph);
    return true;
  }
  case 'c': {
    if (const auto *ch = std::get_if<QChar>(&v))
      out = pad(QString(*ch), ph);
    else if (const auto *i = std::get_if<std::int64_t>(&v))
      out = pad(QString(QChar(static_cast<char16_t>(*i))), ph);
    else
      return false;
    return true;
  }
  default:
    return false;
  }
}

} // namespace

QString Format(const QString &fmt, std::initializer_list<FormatArg> args) {
  const std::vector<FormatArg> list(args);
  std::size_t next = 0;
  QString out;
  out.reserve(fmt.size() + 16);
  const qsizetype n = fmt.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = fmt[i];
    if (ch != QLatin1Char('%')) {
      out += ch;
      continue;
    }
    if (i + 1 < n && fmt[i + 1] == QLatin1Char('%')) {
      out += QLatin1Char('%');
      ++i;
      continue;
    }
    const qsizetype start = i;
    qsizetype j = i + 1;
    Placeholder ph;
    for (; j < n; ++j) {
      if (fmt[j] == QLatin1Char('-'))
        ph.left = true;
      else if (fmt[j] == QLatin1Char('0'))
        ph.zero = true;
      else
        break;
    }
    for (; j < n && fmt[j].isDigit(); ++j)
      ph.width = ph.width * 10 + fmt[j].digitValue();
    if (j < n && fmt[j] == QLatin1Char('.')) {
      ph.precision = 0;
      for (++j; j < n && fmt[j].isDigit(); ++j)
        ph.precision = ph.precision * 10 + fmt[j].digitValue();
    }
    if (j >= n) {
      out += fmt.mid(start);
      break;
    }
    ph.conv = fmt[j];
    QString piece;
    if (next < list.size() && render(list[next], ph, piece)) {
      out += piece;
      ++next;
    } else {
      out += fmt.mid(start, j - start + 1);
    }
    i = j;
  }
  return out;
}

} // namespace str
