// The shared unit's own message texts. The unit is built into the plug-ins as well, which link
// nothing of the program, so its texts live with it rather than in the program's table.
#pragma once

#include <QString>

namespace strmylib {

inline const QString _err_s_FileNotExists = QStringLiteral("File not exists.(%s)");

} // namespace strmylib
