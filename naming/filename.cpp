// Track file names; see filename.h.
#include "naming/filename.h"

#include "macros/expand.h"
#include "messages/format.h"
#include "messages/str.h"
#include "naming/filenamechars.h"
#include "naming/numbering.h"

#include <QDir>

QString MakeTrackFileName(const QString &tmpl, const TMacroScope &scope, int trackNo,
                          const QString &charMap) {
  QString name;
  if (!ExpandTemplate(tmpl, scope, true, name) || name.isEmpty()) {
    if (!ExpandTemplate(str::_env_default_FileName, scope, true, name) || name.isEmpty())
      name = str::Format(str::_fmt_d_TrackFileNumber, {trackNo});
  } else if (name == tmpl) {
    name = str::Format(str::_fmt_sd_UnnumberedTrackFileName, {tmpl, trackNo});
  }
  return MapFileNameChars(name + str::_txt_MP3FileExtension, charMap);
}

QString MakeMP3Path(const QString &targetDir, const QString &fileName, bool addSuffixOnExistFile) {
  QString dir = targetDir;
  if (!dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
    dir += QDir::separator();
  const QString path = dir + fileName;
  if (!addSuffixOnExistFile || !PathIsTaken(path))
    return path;
  const QString &ext = str::_txt_MP3FileExtension;
  if (fileName.endsWith(ext, Qt::CaseInsensitive))
    return FirstFreeNumberedPath(path.left(path.size() - ext.size()), path.right(ext.size()));
  return FirstFreeNumberedPath(path, QString());
}
