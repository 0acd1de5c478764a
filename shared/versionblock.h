// TVersionBlock: the version information a binary of ours carries in its ".qrwver" section,
// answered by query path as a Windows version resource answers VerQueryValue:
// "\VarFileInfo\Translation" and "\StringFileInfo\<lang><codepage>\<Key>".
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class TVersionBlock {
public:
  // Reads the block of an ELF file. False when the file cannot be read, is not ELF, or has no
  // version section; `malformed` is set when a section exists but cannot be taken apart.
  bool ReadFromFile(const QString &fileName, bool &malformed);

  // Parses the section's bytes: NUL-terminated path and value pairs.
  bool Parse(const QByteArray &bytes);

  bool Query(const QString &path, QString &value) const;

  // The translation table: language identifier in the low 16 bits, code page in the high 16.
  bool Translations(QList<std::uint32_t> &table) const;

private:
  QList<QPair<QString, QString>> entries_;
};

// The value of one version string for one translation, or the empty text.
QString GetVersionInfoString(const TVersionBlock &block, std::uint32_t translation,
                             const QString &key);
