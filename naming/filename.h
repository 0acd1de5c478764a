// Track file names: the file name template expanded for one track, made safe for the file
// system by the character map, and the full path of a track's MP3 file, numbered when a file of
// that name exists and the user asked for it.
#pragma once

#include "macros/resolve.h"

#include <QString>

// The settings a track file name is made from, read by the caller under the settings read lock.
struct TFileNameSettings {
  QString OutputFileName;           // the file name template
  QString CharMap;                  // nine replacement characters
  bool AddSuffixOnExistFile = true; // number a file name that is already taken
};

// The file name (no directory) of one track, ending in ".mp3": the template expanded with
// undefined macros as empty texts; when that fails or gives nothing, the default template
// "%TrackNo,,,02% %Title%" instead, and the two-digit track number when that fails or gives
// nothing too (a user who undefined Title); when the template holds no reference (the expansion
// equals it), the template, a blank and the two-digit track number, so tracks do not share one
// name. The character map is applied last, so the name never holds a path separator.
QString MakeTrackFileName(const QString &tmpl, const TMacroScope &scope, int trackNo,
                          const QString &charMap);

// The full path of a track's MP3 file in targetDir. When addSuffixOnExistFile is set and the
// name is taken, the first free name with "(1)", "(2)", ... before ".mp3" (the way output
// directories are numbered); otherwise the name as it is, and an existing file is replaced.
QString MakeMP3Path(const QString &targetDir, const QString &fileName, bool addSuffixOnExistFile);
