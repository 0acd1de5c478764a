// Format: fills the placeholders of a message the way the message table writes them
// (%s, %d, %i, %u, %c, %x, %X with optional flags '-' and '0', a width and a precision,
// and %% for one percent sign).
#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <variant>

namespace str {

// One argument of Format: a number, a text or a single character.
class FormatArg {
public:
  FormatArg(int v) : value_(static_cast<std::int64_t>(v)) {}
  FormatArg(long v) : value_(static_cast<std::int64_t>(v)) {}
  FormatArg(long long v) : value_(static_cast<std::int64_t>(v)) {}
  FormatArg(unsigned v) : value_(static_cast<std::uint64_t>(v)) {}
  FormatArg(unsigned long v) : value_(static_cast<std::uint64_t>(v)) {}
  FormatArg(unsigned long long v) : value_(static_cast<std::uint64_t>(v)) {}
  FormatArg(const QString &v) : value_(v) {}
  FormatArg(const char *v) : value_(QString::fromUtf8(v)) {}
  FormatArg(QChar v) : value_(v) {}
  FormatArg(char v) : value_(QChar::fromLatin1(v)) {}

  const std::variant<std::int64_t, std::uint64_t, QString, QChar> &value() const { return value_; }

private:
  std::variant<std::int64_t, std::uint64_t, QString, QChar> value_;
};

// Fills fmt's placeholders from args in order. A placeholder without an argument, or an
// argument of a kind the placeholder cannot show, is written as the placeholder itself, so a
// wrong call never crashes and is easy to spot in a log.
QString Format(const QString &fmt, std::initializer_list<FormatArg> args);

} // namespace str
