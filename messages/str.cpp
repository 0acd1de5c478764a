// The walkable view of the message table.
#include "messages/str.h"

namespace str {

std::span<const MessageEntry> AllMessages() {
  static const MessageEntry entries[] = {
#define QRW_MSG(id, text) {#id, &id},
#include "messages/messages.def"
#undef QRW_MSG
  };
  return entries;
}

} // namespace str
