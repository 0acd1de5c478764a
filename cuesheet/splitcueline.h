// SplitCueLine: cuts one trimmed cue-sheet line into its tokens.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Tokens are separated by blanks (codes 0..32) and by the delimiter. A token that starts with a
// double quote runs to the next single double quote (two in a row stand for one; a missing
// closing quote takes the rest of the line), so TITLE "A, B" is two tokens; an unquoted token
// runs to the next blank or delimiter and keeps any quotes inside it. A delimiter that ends the
// line adds one empty token.
QStringList SplitCueLine(const QString &line, QChar delimiter = QLatin1Char(','));
