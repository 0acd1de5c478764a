// Numbered names for existing outputs; see numbering.h.
#include "naming/numbering.h"

#include "messages/format.h"
#include "messages/str.h"

#include <QFileInfo>

bool PathIsTaken(const QString &path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink(); // a dangling link still holds the name
}

QString FirstFreeNumberedPath(const QString &base, const QString &extension) {
  for (int n = 1;; ++n) {
    const QString candidate = str::Format(str::_fmt_sd_NumberedName, {base, n}) + extension;
    if (!PathIsTaken(candidate))
      return candidate;
  }
}
