// GetSpecialFolderPath: the path of one of the user's special folders, by its Windows folder
// number, made when it does not exist yet.
#pragma once

#include <QString>

class QObject;

enum SpecialFolder : int {
  CSIDL_PERSONAL = 5,       // the user's documents folder
  CSIDL_LOCAL_APPDATA = 28, // the user's local application data folder (~/.config here)
};

// The folder's path without a trailing separator, or the empty text when the folder number is
// not one of the above or the folder cannot be found or made. Never throws. `window` is the
// owner a platform dialog would use; it may be null.
QString GetSpecialFolderPath(QObject *window, int folder);
