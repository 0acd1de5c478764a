// Finding and reading the ".qrwver" section of an ELF file.
#include "shared/versionblock.h"

#include <QFile>
#include <cstring>
#include <elf.h>

namespace {

constexpr const char kSectionName[] = ".qrwver";
// A version block is small; anything larger is not one of ours.
constexpr quint64 kMaxBlockSize = 64 * 1024;

bool readAt(QFile &file, quint64 offset, void *out, quint64 size) {
  if (offset > static_cast<quint64>(file.size()) ||
      size > static_cast<quint64>(file.size()) - offset)
    return false;
  if (!file.seek(static_cast<qint64>(offset)))
    return false;
  return file.read(static_cast<char *>(out), static_cast<qint64>(size)) ==
         static_cast<qint64>(size);
}

struct SectionInfo {
  quint64 nameIndex = 0;
  quint64 offset = 0;
  quint64 size = 0;
};

template <typename Ehdr, typename Shdr>
bool findSection(QFile &file, QByteArray &bytes, bool &malformed) {
  Ehdr eh;
  if (!readAt(file, 0, &eh, sizeof eh))
    return false;
  if (eh.e_shoff == 0 || eh.e_shnum == 0 || eh.e_shentsize != sizeof(Shdr) ||
      eh.e_shstrndx >= eh.e_shnum)
    return false;
  auto section = [&](quint64 index, SectionInfo &info) {
    Shdr sh;
    if (!readAt(file, eh.e_shoff + index * sizeof(Shdr), &sh, sizeof sh))
      return false;
    info.nameIndex = sh.sh_name;
    info.offset = sh.sh_offset;
    info.size = sh.sh_size;
    return true;
  };
  SectionInfo names;
  if (!section(eh.e_shstrndx, names) || names.size > 16 * 1024 * 1024)
    return false;
  QByteArray table(static_cast<qsizetype>(names.size), '\0');
  if (!readAt(file, names.offset, table.data(), names.size))
    return false;
  for (quint64 i = 0; i < eh.e_shnum; ++i) {
    SectionInfo info;
    if (!section(i, info))
      return false;
    if (info.nameIndex >= static_cast<quint64>(table.size()))
      continue;
    const char *name = table.constData() + info.nameIndex;
    const quint64 room = static_cast<quint64>(table.size()) - info.nameIndex;
    if (strnlen(name, room) == room || std::strcmp(name, kSectionName) != 0)
      continue;
    if (info.size == 0 || info.size > kMaxBlockSize) {
      malformed = true;
      return false;
    }
    bytes.resize(static_cast<qsizetype>(info.size));
    if (!readAt(file, info.offset, bytes.data(), info.size)) {
      malformed = true;
      return false;
    }
    return true;
  }
  return false;
}

} // namespace

bool TVersionBlock::ReadFromFile(const QString &fileName, bool &malformed) {
  malformed = false;
  entries_.clear();
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  unsigned char ident[EI_NIDENT];
  if (!readAt(file, 0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
      ident[EI_DATA] != ELFDATA2LSB)
    return false;
  QByteArray bytes;
  bool found = false;
  if (ident[EI_CLASS] == ELFCLASS64)
    found = findSection<Elf64_Ehdr, Elf64_Shdr>(file, bytes, malformed);
  else if (ident[EI_CLASS] == ELFCLASS32)
    found = findSection<Elf32_Ehdr, Elf32_Shdr>(file, bytes, malformed);
  if (!found)
    return false;
  if (!Parse(bytes)) {
    malformed = true;
    return false;
  }
  return true;
}

bool TVersionBlock::Parse(const QByteArray &bytes) {
  entries_.clear();
  // The section is the literal's bytes: pairs of NUL-terminated strings, then the literal's own
  // final NUL (and possibly alignment padding).
  QList<QByteArray> parts = bytes.split('\0');
  while (!parts.isEmpty() && parts.last().isEmpty())
    parts.removeLast();
  if (parts.isEmpty() || parts.size() % 2 != 0)
    return false;
  for (qsizetype i = 0; i < parts.size(); i += 2)
    entries_.append({QString::fromUtf8(parts[i]), QString::fromUtf8(parts[i + 1])});
  return true;
}

bool TVersionBlock::Query(const QString &path, QString &value) const {
  for (const auto &entry : entries_) {
    if (entry.first.compare(path, Qt::CaseInsensitive) == 0) {
      value = entry.second;
      return true;
    }
  }
  return false;
}

bool TVersionBlock::Translations(QList<std::uint32_t> &table) const {
  QString text;
  if (!Query(QStringLiteral("\\VarFileInfo\\Translation"), text))
    return false;
  table.clear();
  for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    bool ok = false;
    const uint value = word.toUInt(&ok, 16);
    if (!ok || word.size() != 8)
      return false;
    table.append(value);
  }
  return !table.isEmpty();
}

QString GetVersionInfoString(const TVersionBlock &block, std::uint32_t translation,
                             const QString &key) {
  const QString path = QStringLiteral("\\StringFileInfo\\%1%2\\%3")
                           .arg(translation & 0xFFFFu, 4, 16, QLatin1Char('0'))
                           .arg(translation >> 16, 4, 16, QLatin1Char('0'))
                           .arg(key);
  QString value;
  if (!block.Query(path, value))
    return {};
  return value;
}
