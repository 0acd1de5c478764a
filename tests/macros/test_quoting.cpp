// Quoted strings, searching and splitting outside quotes, trimming and the display escapes.
#include "macros/quoting.h"

#include <gtest/gtest.h>

namespace {

QString U(const char16_t *s) {
  return QString::fromUtf16(s);
}
QString Chars(std::initializer_list<char16_t> units) {
  QString s;
  for (char16_t u : units)
    s.append(QChar(u));
  return s;
}

struct QuotedCase {
  QString text;
  bool ok;
  QString result;
  bool quoted;
};

TEST(ParseQuotedString, CasesOfTheSyntax) {
  const QuotedCase cases[] = {
      // Unquoted and empty texts.
      {U(u""), true, U(u""), false},
      {U(u"  12 \t"), true, U(u"12"), false},
      {U(u"two words"), true, U(u"two words"), false},
      {U(u"a'b'"), true, U(u"a'b'"), false},
      // Both quote characters; the other one is literal inside.
      {U(u"'abc'"), true, U(u"abc"), true},
      {U(u"\"abc\""), true, U(u"abc"), true},
      {U(u"''"), true, U(u""), true},
      {U(u"'say \"hi\"'"), true, U(u"say \"hi\""), true},
      {U(u"\"it's\""), true, U(u"it's"), true},
      {U(u"'a,b;c=d'"), true, U(u"a,b;c=d"), true},
      {U(u"'全角　文字'"), true, U(u"全角　文字"), true},
      // Doubled quotes of the opening kind.
      {U(u"'it''s'"), true, U(u"it's"), true},
      {U(u"''''"), true, U(u"'"), true},
      {U(u"\"a\"\"b\""), true, U(u"a\"b"), true},
      {U(u"'it's'"), false, U(u""), true},
      {U(u"'a''"), false, U(u""), true},
      // Unterminated or lone quotes.
      {U(u"'"), false, U(u""), true},
      {U(u"\""), false, U(u""), true},
      {U(u"'abc"), false, U(u""), true},
      {U(u"'abc\""), false, U(u""), true},
      {U(u"'abc' "), false, U(u""), true},
      // Hexadecimal escapes: greedy, either case, one UTF-16 unit modulo 65536.
      {U(u"'\\x41\\102\\t'"), true, U(u"AB\t"), true},
      {U(u"'\\x41B'"), true, Chars({0x041B}), true},
      {U(u"'\\xfF'"), true, Chars({0x00FF}), true},
      {U(u"'\\x4142'"), true, Chars({0x4142}), true},
      {U(u"'\\x1000041'"), true, U(u"A"), true},
      {U(u"'\\x41 '"), true, U(u"A "), true},
      {U(u"'50\\x25 '"), true, U(u"50% "), true},
      {U(u"'\\x'"), false, U(u""), true},
      {U(u"'\\xg'"), false, U(u""), true},
      // Octal escapes: up to three digits.
      {U(u"'\\0'"), true, Chars({0}), true},
      {U(u"'\\101\\60'"), true, U(u"A0"), true},
      {U(u"'\\777'"), true, Chars({0x01FF}), true},
      {U(u"'\\1234'"), true, U(u"S4"), true},
      {U(u"'\\8'"), true, U(u"8"), true},
      // Letter escapes and literal escapes.
      {U(u"'\\a\\b\\f\\n\\r\\t\\v'"), true, Chars({7, 8, 12, 10, 13, 9, 11}), true},
      {U(u"'\\\\'"), true, U(u"\\"), true},
      {U(u"'\\''"), true, U(u"'"), true},
      {U(u"'\\\"'"), true, U(u"\""), true},
      {U(u"'\\q\\%'"), true, U(u"q%"), true},
      // A backslash right before the closing quote.
      {U(u"'abc\\'"), false, U(u""), true},
      {U(u"'\\'"), false, U(u""), true},
  };
  for (const QuotedCase &c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    QString result = U(u"stale");
    bool quoted = !c.quoted;
    EXPECT_EQ(ParseQuotedString(c.text, result, quoted), c.ok);
    EXPECT_EQ(quoted, c.quoted);
    if (c.ok)
      EXPECT_EQ(result, c.result);
    else
      EXPECT_TRUE(result.isEmpty());
  }
}

TEST(ParseQuotedString, ResultMayBeTheTextItself) {
  bool quoted = false;
  QString text = U(u"'a\\tb'");
  ASSERT_TRUE(ParseQuotedString(text, text, quoted));
  EXPECT_EQ(text, U(u"a\tb"));
  text = U(u"  plain ");
  ASSERT_TRUE(ParseQuotedString(text, text, quoted));
  EXPECT_EQ(text, U(u"plain"));
  text = U(u"'open");
  EXPECT_FALSE(ParseQuotedString(text, text, quoted));
  EXPECT_TRUE(quoted);
  EXPECT_TRUE(text.isEmpty());
}

struct FindCase {
  QString text;
  QChar c;
  int start;
  QChar extra;
  int expected;
};

TEST(FindCharOutsideQuotes, SkipsQuotedParts) {
  const FindCase cases[] = {
      {U(u"Disc='A=B'"), u'=', 1, QChar(), 5}, {U(u"'A=B'=x"), u'=', 1, QChar(), 6},
      {U(u"a\"b=c\"=d"), u'=', 1, QChar(), 7}, {U(u"'a\\'=b'=c"), u'=', 1, QChar(), 8},
      {U(u"'it''s'=x"), u'=', 1, QChar(), 8},  {U(u"'abc=d"), u'=', 1, QChar(), 0},
      {U(u"x='abc"), u'=', 1, QChar(), 2},     {U(u"'a'x='abc"), u'=', 1, QChar(), 5},
      {U(u"a='b'=c"), u'=', 3, QChar(), 6},    {U(u"a=b"), u'=', 3, QChar(), 0},
      {U(u"a=b"), u'=', 0, QChar(), 2},        {U(u"a=b"), u'=', -5, QChar(), 2},
      {U(u"a=b"), u'=', 10, QChar(), 0},       {U(u"!a,b!,c"), u',', 1, QChar(u'!'), 6},
      {U(u"!a,b!,c"), u',', 1, QChar(), 3},    {U(u"!it's!,c"), u',', 1, QChar(u'!'), 7},
      {U(u"abc"), u'x', 1, QChar(), 0},        {U(u""), u'x', 1, QChar(), 0},
  };
  for (const FindCase &c : cases) {
    SCOPED_TRACE(c.text.toStdString() + " start " + std::to_string(c.start));
    EXPECT_EQ(FindCharOutsideQuotes(c.text, c.c, c.start, c.extra), c.expected);
  }
}

struct SplitCase {
  QString text;
  QChar extra;
  QStringList expected;
};

TEST(SplitOutsideQuotes, PiecesKeepTheirQuotesAndBlanks) {
  const SplitCase cases[] = {
      {U(u""), QChar(), {}},
      {U(u"a"), QChar(), {U(u"a")}},
      {U(u"a,b"), QChar(), {U(u"a"), U(u"b")}},
      {U(u"a,"), QChar(), {U(u"a"), U(u"")}},
      {U(u","), QChar(), {U(u""), U(u"")}},
      {U(u",a"), QChar(), {U(u""), U(u"a")}},
      {U(u"a,,b"), QChar(), {U(u"a"), U(u""), U(u"b")}},
      {U(u" a , 'b,c' ,\"d,e\""), QChar(), {U(u" a "), U(u" 'b,c' "), U(u"\"d,e\"")}},
      {U(u"'a,b"), QChar(), {U(u"'a,b")}},
      {U(u"x,'a,b"), QChar(), {U(u"x"), U(u"'a,b")}},
      {U(u"!x,y!,z"), QChar(u'!'), {U(u"!x,y!"), U(u"z")}},
      {U(u"!x,y!,z"), QChar(), {U(u"!x"), U(u"y!"), U(u"z")}},
  };
  for (const SplitCase &c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(SplitOutsideQuotes(c.text, u',', c.extra), c.expected);
  }
}

TEST(TrimBlanks, RemovesCodesUpTo32Only) {
  EXPECT_EQ(TrimBlanks(U(u" \t a b \r\n")), U(u"a b"));
  EXPECT_EQ(TrimBlanks(Chars({1, u'a', 31})), U(u"a"));
  EXPECT_EQ(TrimBlanks(U(u"   ")), U(u""));
  // The full-width blank is text, not a separator.
  EXPECT_EQ(TrimBlanks(U(u"\u3000a\u3000")), U(u"\u3000a\u3000"));
}

TEST(EscapeForDisplay, ControlCharactersBecomeEscapes) {
  EXPECT_EQ(EscapeForDisplay(Chars({u'a', 0, u'b'})), U(u"a\\0b"));
  EXPECT_EQ(EscapeForDisplay(Chars({7, 8, 9, 10, 11, 12, 13})), U(u"\\a\\b\\t\\n\\v\\f\\r"));
  EXPECT_EQ(EscapeForDisplay(Chars({1, 27, 31, 127, 0x85})), U(u"\\?\\?\\?\\?\\?"));
  EXPECT_EQ(EscapeForDisplay(U(u"C:\\dir\\曲 名")), U(u"C:\\dir\\曲 名"));
  EXPECT_EQ(EscapeForDisplay(U(u"")), U(u""));
  // A parsed escape comes back in its written form.
  QString parsed;
  bool quoted;
  ASSERT_TRUE(ParseQuotedString(U(u"'line1\\nline2\\tend'"), parsed, quoted));
  EXPECT_EQ(EscapeForDisplay(parsed), U(u"line1\\nline2\\tend"));
}

} // namespace
