// TFileVerInfo: the twelve version strings of a binary, read from its version block.
#pragma once

#include <QString>
#include <cstdint>

class TFileVerInfo {
public:
  // Raises TError "File not exists.(<fileName>)" when there is no such file. Reads nothing yet.
  explicit TFileVerInfo(const QString &fileName);

  // Reads the twelve values for one translation; -1 takes the first one the file lists, any
  // other value is a language (low 16 bits) and code page (high 16 bits) pair. False when the
  // file has no version block (the values stay empty). Raises TError with an empty message when
  // the block cannot be read or the translation is not in its table.
  bool Load(std::int64_t translation = -1);

  QString FileName;
  QString Comments;
  QString InternalName;
  QString ProductName;
  QString CompanyName;
  QString LegalCopyright;
  QString ProductVersion;
  QString FileDescription;
  QString LegalTrademarks;
  QString PrivateBuild;
  QString FileVersion;
  QString OriginalFilename;
  QString SpecialBuild;
};
