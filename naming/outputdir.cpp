// Output directory names and their creation; see outputdir.h.
#include "naming/outputdir.h"

#include "macros/expand.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "naming/dirrename.h"
#include "naming/numbering.h"
#include "naming/pathparts.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Stands in for "." in a component that would otherwise name the current or the parent
// directory.
constexpr QChar FullWidthFullStop = QChar(0xFF0E);

QString SafeComponent(const QString &component) {
  QString c = component;
  for (QChar &ch : c)
    if (ch.category() == QChar::Other_Control)
      ch = u' ';
  if (c == u"." || c == u"..")
    c.fill(FullWidthFullStop);
  return c;
}

} // namespace

QString MakeSafeDirName(const QString &dirName) {
  QStringList safe;
  for (const QString &component : SplitPathComponents(dirName))
    if (!component.isEmpty())
      safe.append(SafeComponent(component));
  return JoinPathComponents(safe);
}

QString MakeOutputDirName(const QString &inputDirName, const TMacroScope &albumScope,
                          const TDirNameSettings &settings) {
  QString name;
  if (settings.OutputMP3DirSelection >= 1) {
    if (!ExpandTemplate(settings.OutputMP3DirName, albumScope, true, name))
      name = str::_txt_UnknownDirName;
  } else if (!inputDirName.isEmpty()) {
    name =
        RenameDirComponents(inputDirName, settings.MP3DirNameReplace, settings.DirNameReplaceInfo);
  }
  return MakeSafeDirName(name);
}

TOutputDir MakeOutputDir(const QString &outputHome, const QString &dirName,
                         bool addSuffixOnExistDir) {
  if (outputHome.isEmpty())
    throw TError(str::_err_OutputHomeDirEmpty); // never the file system's root instead
  TOutputDir result;
  result.Path = outputHome + QDir::separator() + dirName;
  if (addSuffixOnExistDir && PathIsTaken(result.Path))
    result.Path = FirstFreeNumberedPath(result.Path, QString());
  if (QFileInfo(result.Path).isDir())
    return result;
  if (!QDir().mkpath(result.Path) || !QFileInfo(result.Path).isDir())
    throw TError(str::Format(str::_err_s_MakeCreateDirError, {result.Path}));
  result.Created = true;
  return result;
}
