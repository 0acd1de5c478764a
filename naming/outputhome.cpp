// Choosing the output home directory; see outputhome.h.
#include "naming/outputhome.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <algorithm>

namespace {

bool IsExistingDir(const QString &path) {
  return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString ChooseOutputHome(TSettings &settings, const QString &inputHomeDir,
                         const TFolderChooser &chooseFolder) {
  int selection = 0;
  QString dir;
  {
    TSettingsReadGuard guard(settings.Lock());
    selection = std::clamp<int>(settings.OutputHomeDirSelection, 0, 2);
    if (selection == 1)
      dir = settings.OutputHomeDirName;
  }
  if (selection == 0) {
    dir = inputHomeDir;
  } else if (!IsExistingDir(dir) && chooseFolder) {
    const QString chosen = chooseFolder(str::_txt_OutputHomeDirSel, dir);
    if (!chosen.isEmpty()) {
      dir = chosen;
      if (selection == 1 && IsExistingDir(chosen)) {
        TSettingsWriteGuard guard(settings.Lock());
        settings.OutputHomeDirName = chosen;
      }
    }
  }
  if (dir.isEmpty())
    throw TError(str::_err_OutputHomeDirEmpty);
  if (!IsExistingDir(dir))
    throw TError(str::Format(str::_err_s_MakeNoOutputHomeDir, {dir}));
  return dir;
}
