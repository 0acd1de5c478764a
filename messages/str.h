// The message table as named constants: str::_err_MakeNoFile and so on, one for each line of
// messages.def, and AllMessages() for code that walks the whole table.
#pragma once

#include <QString>
#include <span>

namespace str {

#define QRW_MSG(id, text) inline const QString id = QStringLiteral(text);
#include "messages/messages.def"
#undef QRW_MSG

struct MessageEntry {
  const char *id;
  const QString *text;
};

// Every entry of the table, in the order of messages.def.
std::span<const MessageEntry> AllMessages();

} // namespace str
