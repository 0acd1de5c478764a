// Bang-quoted values: a field between '!' marks with every inner '!' doubled, and lists of such
// fields joined by a delimiter.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// "!" + field with each '!' doubled + "!"; the empty field gives "!!".
QString BangQuote(const QString &field);

// A text that begins and ends with '!' loses both marks and every "!!" inside becomes '!'; any
// other text comes back unchanged.
QString BangUnquote(const QString &text);

// Splits a list at each delimiter outside a quoted section, '!' counting as a quote mark besides
// the double and single quote. The pieces keep their quotes.
QStringList SplitBangList(const QString &text, QChar delimiter);
