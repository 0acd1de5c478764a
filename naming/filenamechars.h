// The character map that makes a text safe as a file name: the nine characters a file name may
// not hold are replaced one for one by the characters of the CharMap setting.
#pragma once

#include <QChar>
#include <QString>

// The position (0..8) of c among the nine characters a file name may not hold (backslash,
// slash, colon, asterisk, question mark, double quote, less-than, greater-than, vertical bar),
// or -1.
int ForbiddenFileNameCharIndex(QChar c);
bool ContainsForbiddenFileNameChar(const QString &text);

// Replaces each of the nine forbidden characters by the character of charMap at its position
// and each control character by a blank; every other character is kept, so the result has the
// length of text. charMap is the CharMap setting (nine characters); a position it lacks takes
// the default map's character.
QString MapFileNameChars(const QString &text, const QString &charMap);
