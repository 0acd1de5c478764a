// The INI file of kplape, read and written line by line.
#include "plugin-ape/apeini.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

QStringList ReadLines(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  QString text = QString::fromUtf8(file.readAll());
  if (text.startsWith(QChar(0xFEFF)))
    text.remove(0, 1);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();
  return lines;
}

// The section name when the line is a section header, else a null string.
QString SectionName(const QString &line) {
  const QString trimmed = line.trimmed();
  if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
  return QString();
}

bool IsKeyLine(const QString &line, const QString &key, QString *value) {
  const qsizetype equals = line.indexOf(QLatin1Char('='));
  if (equals < 0 || line.trimmed().startsWith(QLatin1Char(';')))
    return false;
  if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0)
    return false;
  if (value)
    *value = line.mid(equals + 1).trimmed();
  return true;
}

// Leading sign and digits, as GetPrivateProfileInt reads them.
bool ParseLeadingInteger(const QString &text, int &result) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
    negative = text[i++] == QLatin1Char('-');
  const qsizetype digits = i;
  long long value = 0;
  while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
    value = value * 10 + (text[i].unicode() - '0');
    if (value > 0x7FFFFFFFll + 1)
      value = 0x7FFFFFFFll + 1;
    ++i;
  }
  if (i == digits)
    return false;
  value = negative ? -value : value;
  result = static_cast<int>(qBound(-0x7FFFFFFFll - 1, value, 0x7FFFFFFFll));
  return true;
}

} // namespace

int ReadIniInteger(const QString &fileName, const QString &section, const QString &key,
                   int defaultValue) {
  bool inSection = false;
  for (const QString &line : ReadLines(fileName)) {
    const QString name = SectionName(line);
    if (!name.isNull()) {
      inSection = name.compare(section, Qt::CaseInsensitive) == 0;
      continue;
    }
    QString value;
    if (inSection && IsKeyLine(line, key, &value)) {
      int result = defaultValue;
      return ParseLeadingInteger(value, result) ? result : defaultValue;
    }
  }
  return defaultValue;
}

bool WriteIniInteger(const QString &fileName, const QString &section, const QString &key,
                     int value) {
  QStringList lines = ReadLines(fileName);
  const QString entry = key + QLatin1Char('=') + QString::number(value);
  qsizetype sectionEnd = -1; // index after the last line of the section
  bool inSection = false, written = false;
  for (qsizetype i = 0; i < lines.size() && !written; ++i) {
    const QString name = SectionName(lines[i]);
    if (!name.isNull()) {
      inSection = name.compare(section, Qt::CaseInsensitive) == 0;
      if (inSection)
        sectionEnd = i + 1;
      continue;
    }
    if (!inSection)
      continue;
    if (IsKeyLine(lines[i], key, nullptr)) {
      lines[i] = entry;
      written = true;
    } else if (!lines[i].trimmed().isEmpty()) {
      sectionEnd = i + 1;
    }
  }
  if (!written) {
    if (sectionEnd < 0) {
      lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
      sectionEnd = lines.size();
    }
    lines.insert(sectionEnd, entry);
  }
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  file.write((lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8());
  return file.commit();
}
