// Quoted texts with backslash escapes: parsing one quoted string, finding and splitting at
// characters that lie outside quoted parts, trimming, and the escaped display form used for
// log lines. Macro references, the cue-sheet extension lines and the settings lists all read
// their quoted parts through these functions.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Removes leading and trailing characters with codes 0..32 (blanks, tabs, line ends and other
// control characters), the trimming every field of a reference and every cue line gets.
QString TrimBlanks(const QString &text);

// Reads text as one value that may be quoted by '"' or '\''.
// - Empty text: success, empty result, quoted = false.
// - First character not a quote: result = TrimBlanks(text), quoted = false, success.
// - Otherwise the text must end with the same quote character q and be longer than one
//   character. Inside, "qq" stands for one q (a single q fails), the other quote character is
//   literal, and a backslash introduces an escape: \xHH... (greedy hex digits, one UTF-16 code
//   unit modulo 65536, at least one digit), \ooo (one to three octal digits, 0..511), \a \b \f
//   \n \r \t \v, or any other character taken literally. A backslash right before the closing
//   quote fails.
// quoted is true whenever the text starts with a quote character, even on failure. On failure
// result is empty.
bool ParseQuotedString(const QString &text, QString &result, bool &quoted);

// The 1-based position of the first c at or after position start (values below 1 count as 1)
// that lies outside a quoted part, or 0 when there is none. '"', '\'' and extraQuote (when not
// null) each open a quoted part that runs to the next occurrence of the same character; inside
// it a backslash hides the character after it. An unclosed quoted part gives 0.
int FindCharOutsideQuotes(const QString &text, QChar c, int start = 1, QChar extraQuote = QChar());

// The pieces of text between the separators that FindCharOutsideQuotes finds, in order,
// untrimmed and with their quotes. An empty text gives an empty list; a separator at the very
// end adds one empty piece.
QStringList SplitOutsideQuotes(const QString &text, QChar separator, QChar extraQuote = QChar());

// The text with every control character written as an escape: 0 -> \0, 7 -> \a, 8 -> \b,
// 9 -> \t, 10 -> \n, 11 -> \v, 12 -> \f, 13 -> \r, any other control character (the C0 range,
// DEL and the C1 range) -> \?. Everything else, the backslash included, is copied unchanged, so
// a log line always stays one line.
QString EscapeForDisplay(const QString &text);
