// Text files read as lines, the way cue sheets and rip logs arrive: a byte-order mark selects
// UTF-8, UTF-16LE or UTF-16BE; without one the bytes are UTF-8 when they are valid UTF-8, else
// the encoding uchardet detects, else CP932. CRLF, LF and CR each end a line.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The name of the encoding DecodeText uses for these bytes: "UTF-8", "UTF-16LE", "UTF-16BE",
// a name uchardet gives that the platform's converters know, or "windows-31j" (CP932).
QByteArray DetectTextEncoding(const QByteArray &bytes);

// The bytes as text, by the rule above; a byte-order mark is not part of the text.
QString DecodeText(const QByteArray &bytes);

// The text split at CRLF, LF and CR. A break at the very end does not start another line, so
// "a\r\nb\r\n" and "a\r\nb" are both two lines and the empty text is no line at all.
QStringList SplitTextLines(const QString &text);

// Reads the file at path as lines. False, with lines empty, when it is not a regular file (a
// directory, a FIFO, a missing file) or cannot be read; never throws.
bool LoadTextFileLines(const QString &path, QStringList &lines);

// True when the bytes are well-formed UTF-8: no stray continuation bytes, no truncated or
// overlong sequences, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const QByteArray &bytes);
