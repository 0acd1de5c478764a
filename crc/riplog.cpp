// Finding the rip log of a cue sheet and reading the ripper's CRC from it.
#include "crc/riplog.h"

#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Blanks and control characters, as trimming in the ripper's world counts them.
bool IsBlank(QChar c) {
  return c.unicode() <= 0x20;
}

QString TrimBlanks(const QString &text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && IsBlank(text.at(first)))
    ++first;
  while (last > first && IsBlank(text.at(last - 1)))
    --last;
  return text.mid(first, last - first);
}

std::optional<std::uint32_t> ParseEightHexDigits(const QString &text) {
  if (text.size() != 8)
    return std::nullopt;
  std::uint32_t value = 0;
  for (QChar c : text) {
    const char16_t u = c.toUpper().unicode();
    int digit;
    if (u >= u'0' && u <= u'9')
      digit = u - u'0';
    else if (u >= u'A' && u <= u'F')
      digit = u - u'A' + 10;
    else
      return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}

} // namespace

QStringList SplitCrcCaption(const QString &setting) {
  QStringList items;
  const qsizetype size = setting.size();
  qsizetype i = 0;
  while (i < size) {
    QString item;
    if (setting.at(i) == u'"') {
      for (++i; i < size; ++i) {
        if (setting.at(i) != u'"') {
          item.append(setting.at(i));
        } else if (i + 1 < size && setting.at(i + 1) == u'"') {
          item.append(u'"');
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      const qsizetype start = i;
      while (i < size && setting.at(i) != u';')
        ++i;
      item = setting.mid(start, i - start);
    }
    items.append(item);
    if (i < size && setting.at(i) == u';') {
      ++i;
      if (i == size)
        items.append(QString());
    }
  }
  return items;
}

QString FindRipLogFile(const QString &cueFileName) {
  const QFileInfo cue(cueFileName);
  const QString ownName = cue.completeBaseName() + QStringLiteral(".log");
  const QFileInfo own(cue.dir(), ownName);
  if (own.isFile())
    return own.filePath();

  // Regular files only: the listing also holds FIFOs, which would block the reader.
  QFileInfoList logs;
  for (const QFileInfo &entry :
       cue.dir().entryInfoList({QStringLiteral("*.log")}, QDir::Files | QDir::Hidden, QDir::Name)) {
    if (entry.isFile())
      logs.append(entry);
  }
  for (const QFileInfo &log : logs) {
    if (log.fileName().compare(ownName, Qt::CaseInsensitive) == 0)
      return log.filePath();
  }
  return logs.size() == 1 ? logs.front().filePath() : QString();
}

std::optional<std::uint32_t> FindCrcInLines(const QStringList &lines,
                                            const QStringList &candidates) {
  for (const QString &line : lines) {
    for (const QString &candidate : candidates) {
      if (candidate.isEmpty())
        continue;
      const qsizetype at = line.indexOf(candidate, 0, Qt::CaseSensitive);
      if (at < 0)
        continue;
      if (auto value = ParseEightHexDigits(TrimBlanks(line.mid(at + candidate.size()))))
        return value;
      break;
    }
  }
  return std::nullopt;
}

bool FindRipLogCRC(const QString &cueFileName, const QString &crcCaption, std::uint32_t &crc) {
  const QString logPath = FindRipLogFile(cueFileName);
  if (logPath.isEmpty())
    return false;
  const QStringList candidates = SplitCrcCaption(crcCaption);
  if (candidates.isEmpty())
    return false;
  QStringList lines;
  if (!LoadTextFileLines(logPath, lines))
    throw TError(str::Format(str::_err_s_TextFileRead, {logPath}));
  const auto value = FindCrcInLines(lines, candidates);
  if (!value)
    return false;
  crc = *value;
  return true;
}
