// The output directory of one cue sheet: its name relative to the output home (the input
// directory's own name rewritten by the rename rules, or the directory template expanded for the
// album), made safe so that it always stays inside the output home, and its creation, numbered
// when it exists and the user asked for it.
#pragma once

#include "macros/resolve.h"

#include <QString>
#include <QStringList>

// The settings a directory name is made from, read by the caller under the settings read lock.
struct TDirNameSettings {
  int OutputMP3DirSelection = 0;  // 0: the input directory's name; 1 (or above): the template
  QString OutputMP3DirName;       // the directory template
  bool MP3DirNameReplace = false; // apply the rename rules to the input directory's name
  QStringList DirNameReplaceInfo; // the rename rules, "pattern=replacement" each
};

// Makes a relative directory name safe to put under the output home: "/" and "\" both separate
// components; empty components (a leading or doubled separator) are dropped; a component that is
// "." or ".." has each of its dots replaced by the full-width full stop U+FF0E, so it names an
// ordinary directory instead of the current or the parent one; control characters become blanks.
// The components are joined with the platform separator.
QString MakeSafeDirName(const QString &dirName);

// The directory name for one cue sheet, relative to the output home.
// inputDirName: the cue file's directory relative to the input home (empty when the cue file
// lies directly in it). albumScope: the cue sheet's album macros (no track).
// With the template: its expansion with undefined macros as empty texts, or the
// unknown-directory name when it fails; an empty expansion gives an empty name. Otherwise the
// input directory's name through the rename rules (empty stays empty). The result has passed
// MakeSafeDirName.
QString MakeOutputDirName(const QString &inputDirName, const TMacroScope &albumScope,
                          const TDirNameSettings &settings);

struct TOutputDir {
  QString Path;         // the directory the MP3 files go to
  bool Created = false; // it was made now (and not found existing)
};

// Makes the output directory outputHome + separator + dirName. When addSuffixOnExistDir is set
// and the name is taken, the first free of "<path>(1)", "<path>(2)", ... is made instead. An
// existing directory is used as it is. The directory is made with every missing parent; when
// that fails, TError with _err_s_MakeCreateDirError and the path.
TOutputDir MakeOutputDir(const QString &outputHome, const QString &dirName,
                         bool addSuffixOnExistDir);
