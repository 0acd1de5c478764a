// Tag-wide fields from the tag settings.
#include "id3/tagsettings.h"

#include "id3/textencoding.h"

#include <algorithm>

namespace {

constexpr int MaxPadding = 4096;

std::uint8_t MapEncoding(int code, bool v24) {
  if (code < 0)
    return teLatin1;
  const int highest = v24 ? teUTF8 : teUTF16LE;
  if (code > highest)
    return teUTF16LE;
  return static_cast<std::uint8_t>(code);
}

} // namespace

TID3TagOptions ID3TagOptionsFromSettings(const TID3TagSettings &settings) {
  const bool v24 = (settings.TagVerMJ & 0xFF) == 4;
  const int revision = (v24 ? settings.TagVerMNV24 : settings.TagVerMNV23) & 0xFF;
  TID3TagOptions options;
  options.Version = static_cast<std::uint16_t>(((v24 ? 4 : 3) << 8) | revision);
  options.Encoding = MapEncoding(v24 ? settings.TagTextCodeV24 : settings.TagTextCodeV23, v24);
  options.OmitBOM = options.Encoding != teUTF16LE;
  options.Terminate = settings.TagTermNull;
  options.Padding = static_cast<std::uint16_t>(std::clamp(settings.TagPadSize, 0, MaxPadding));
  return options;
}
