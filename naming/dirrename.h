// The directory rename rules: how the name of an input directory is rewritten into the name of
// its output directory when the output takes over the input's directory names.
#pragma once

#include <QString>
#include <QStringList>

// Applies the rename rules to a relative directory name.
// rules: the DirNameReplaceInfo entries, each "pattern=replacement" (the pattern is the text
// before the first "="; an entry without "=" is no rule). Up to two "^" at the start of a
// pattern anchor it at the start of a component ("^") or of the first component only ("^^");
// up to two at its end anchor it at the end of a component ("^") or of the last component only
// ("^^"); "^p^" matches a whole component, "^^p^^" the whole name of exactly one component.
// A pattern without marks replaces every occurrence inside a component. Marked matches are
// case-sensitive; an unmarked pattern is searched case-sensitively and then every occurrence
// is replaced without regard to case. A rule whose pattern or replacement holds one of the
// characters a file name may not contain is skipped, as is one with more than two marks on a
// side or with nothing but marks. Only the first rule that matches is applied.
// When enabled is false, the rule list is empty or no rule matches, the name is returned as it
// came; otherwise the components are joined with the platform separator, and an empty result
// becomes the unknown-directory name.
QString RenameDirComponents(const QString &inputDirName, bool enabled, const QStringList &rules);
