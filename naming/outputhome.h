// The output home directory of a run: the directory under which every cue sheet's output
// directory is made. Both front ends call ChooseOutputHome when a run starts; the graphical one
// passes a folder dialog, the command-line one a chooser that cannot ask.
#pragma once

#include <QString>
#include <functional>

class TSettings;

// Asks the user for a folder. caption: the dialog's title; startDir: where it opens (may be
// empty). Returns the chosen existing folder, or an empty text when the user cancelled or
// nobody can be asked.
using TFolderChooser = std::function<QString(const QString &caption, const QString &startDir)>;

// The output home directory by OutputHomeDirSelection (read under the settings read lock;
// values below 0 count as 0 and above 2 as 2, as the settings dialog shows them):
// 0: inputHomeDir. 1: OutputHomeDirName; 2: none yet. For 1 and 2, when that directory is empty
// or does not exist, chooseFolder asks (title _txt_OutputHomeDirSel); for 1 a chosen folder is
// stored back into OutputHomeDirName under the settings write lock.
// Raises TError with _err_OutputHomeDirEmpty when the result is empty, and with
// _err_s_MakeNoOutputHomeDir (the path) when it is not an existing directory; the run must then
// not start.
QString ChooseOutputHome(TSettings &settings, const QString &inputHomeDir,
                         const TFolderChooser &chooseFolder);
