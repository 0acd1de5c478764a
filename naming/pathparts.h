// Splitting and joining the directory part of output names. Directory names arrive with "/"
// between components, or with "\" when a template or a cue value was written on Windows; both
// separate components here, and the output is always joined with the platform's separator.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// True for "/" and "\".
bool IsPathDelimiter(QChar c);

// The components between delimiters. An empty text between two delimiters (or before a
// leading one) is an empty component; a trailing delimiter adds none; an empty text has none.
QStringList SplitPathComponents(const QString &path);

// The components joined with the platform's separator.
QString JoinPathComponents(const QStringList &components);
