// Numbered names for outputs that exist already: Album(1), Album(2), ... for directories and
// 01 Title(1).mp3, ... for files.
#pragma once

#include <QString>

// True when anything (file, directory, link) is at path.
bool PathIsTaken(const QString &path);

// The first of base + "(n)" + extension, n = 1, 2, 3, ..., at which nothing exists.
QString FirstFreeNumberedPath(const QString &base, const QString &extension);
