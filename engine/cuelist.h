// The cue sheets a front end lists from a directory tree or a single file, the way the main
// window's /D and /F options and its directory choice list them.
#pragma once

#include <QString>
#include <QStringList>

// The cue sheets under home + relativeDir, as paths relative to home: first the ".cue" files
// (extension compared without regard to case) of the directory in the order the listing gives,
// then those of each sub-directory in turn. Callers sort the result when they are done.
QStringList ListCueSheets(const QString &home, const QString &relativeDir = QString());

// Whether a /F file can be listed: an existing file whose extension is ".cue" exactly.
bool IsUsableCueFile(const QString &path);
