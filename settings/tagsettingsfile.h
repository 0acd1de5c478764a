// ID3 tag settings files (.i3t): the [Tag] options and the [TagList] definitions of the settings
// store in a file of their own, read into and written from the values of the settings dialog's
// ID3 page.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// What the ID3 page shows: the options of [Tag] except TagNoEmptyTag, and the tag list.
struct TTagSettings {
  bool UseTagInfo = true;
  std::uint8_t TagVerMJ = 3; // 4 selects ID3v2.4, anything else ID3v2.3
  int TagVerMNV23 = 0;       // revision numbers, 0..254
  int TagVerMNV24 = 0;
  int TagTextCodeV23 = 1; // 0..2
  int TagTextCodeV24 = 1; // 0..3
  int TagPadSize = 256;   // 0..4096
  bool TagTermNull = false;
  QStringList TagList; // definition strings, in list order

  bool operator==(const TTagSettings &) const = default;
};

// Reads the file into settings as the ID3 page takes values: TagVerMJ becomes 4 or 3; a revision
// outside 0..254 leaves the value settings held; a text encoding index outside its list becomes
// 1 (UTF-16); the padding is clamped to 0..4096; missing keys take the page's defaults. TagList
// becomes the file's Item0, Item1, ... (none when the file has no [TagList]). The definitions
// are not checked here: the page drops those it cannot read. Raises TError when the file is
// missing or cannot be read.
void ImportTagSettings(const QString &path, TTagSettings &settings);

// Writes settings into the file: the [Tag] keys and a new [TagList]. Every other section and key
// of an existing file stays as it was; a missing file is made. The file is replaced atomically;
// raises TError when it cannot be read or written.
void ExportTagSettings(const QString &path, const TTagSettings &settings);
