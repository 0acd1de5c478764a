// kplape's message table as named constants: strape::_txt_caps_name and so on, one for each line
// of strape.def.
#pragma once

#include <QString>

namespace strape {

#define APE_MSG(id, text) inline const QString id = QStringLiteral(text);
#include "plugin-ape/strape.def"
#undef APE_MSG

} // namespace strape
