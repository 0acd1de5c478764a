// The INI document and its text form.
#include "settings/inidocument.h"

#include "settings/decimal.h"

namespace {

bool SameName(const QString &a, const QString &b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

bool HasBlankEnd(const QString &text) {
  return !text.isEmpty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool HasLineBreak(const QString &text) {
  return text.contains(u'\n') || text.contains(u'\r');
}

bool IsEnclosedInQuotes(const QString &text) {
  return text.size() >= 2 && text.front() == u'"' && text.back() == u'"';
}

QString Quote(const QString &text) {
  QString out = QStringLiteral("\"");
  for (QChar c : text) {
    if (c == u'\\' || c == u'"')
      out += u'\\', out += c;
    else if (c == u'\n')
      out += QStringLiteral("\\n");
    else if (c == u'\r')
      out += QStringLiteral("\\r");
    else
      out += c;
  }
  out += u'"';
  return out;
}

// The inside of a quoted text, its escapes resolved; a backslash before any other character
// stays as it is, so that paths written by hand between quotes survive.
QString Unescape(QStringView inner) {
  QString out;
  for (qsizetype i = 0; i < inner.size(); ++i) {
    const QChar c = inner[i];
    if (c == u'\\' && i + 1 < inner.size()) {
      const QChar next = inner[i + 1];
      if (next == u'\\' || next == u'"') {
        out += next;
        ++i;
        continue;
      }
      if (next == u'n' || next == u'r') {
        out += next == u'n' ? u'\n' : u'\r';
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

QString WriteKey(const QString &key) {
  const bool plain = !key.isEmpty() && !HasBlankEnd(key) && !HasLineBreak(key) &&
                     !key.contains(u'=') && key.front() != u'[' && key.front() != u';' &&
                     key.front() != u'"';
  return plain ? key : Quote(key);
}

QString WriteValue(const QString &value) {
  const bool plain = !HasBlankEnd(value) && !HasLineBreak(value) && !IsEnclosedInQuotes(value);
  return plain ? value : Quote(value);
}

QString ReadValue(QStringView text) {
  const QStringView value = text.trimmed();
  if (IsEnclosedInQuotes(value.toString()))
    return Unescape(value.mid(1, value.size() - 2));
  return value.toString();
}

// Reads "key=value". A key written between quotes ends at its closing quote; a plain key ends at
// the first '='. False when the line holds no '=' at all.
bool ReadEntry(const QString &line, TIniDocument::TEntry &entry) {
  if (line.startsWith(u'"')) {
    qsizetype i = 1;
    while (i < line.size() && line[i] != u'"')
      i += line[i] == u'\\' ? 2 : 1;
    if (i < line.size()) {
      const QStringView rest = QStringView(line).mid(i + 1).trimmed();
      if (rest.startsWith(u'=')) {
        entry.Key = Unescape(QStringView(line).mid(1, i - 1));
        entry.Value = ReadValue(rest.mid(1));
        return true;
      }
    }
  }
  const qsizetype eq = line.indexOf(u'=');
  if (eq < 0)
    return false;
  entry.Key = QStringView(line).left(eq).trimmed().toString();
  entry.Value = ReadValue(QStringView(line).mid(eq + 1));
  return true;
}

} // namespace

TIniDocument TIniDocument::Parse(const QByteArray &text) {
  TIniDocument doc;
  QString all = QString::fromUtf8(text);
  if (all.startsWith(QChar(0xFEFF)))
    all.remove(0, 1);
  TSection *current = nullptr;
  const QStringList lines = all.split(u'\n');
  for (qsizetype n = 0; n < lines.size(); ++n) {
    QString line = lines[n];
    if (line.endsWith(u'\r'))
      line.chop(1);
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty())
      continue;
    if (trimmed.startsWith(u'[')) {
      qsizetype close = trimmed.indexOf(u']');
      if (close < 0)
        close = trimmed.size();
      current = &doc.FindOrAdd(trimmed.mid(1, close - 1).trimmed());
      continue;
    }
    TLine entry;
    if (!trimmed.startsWith(u';'))
      entry.IsEntry = ReadEntry(trimmed, entry.Entry);
    if (!entry.IsEntry)
      entry.Raw = line;
    if (current)
      current->Lines.append(entry);
    else
      doc.prologue_.append(line);
  }
  return doc;
}

QByteArray TIniDocument::Serialize() const {
  QString out;
  for (const QString &line : prologue_)
    out += line + u'\n';
  bool first = prologue_.isEmpty();
  for (const TSection &section : sections_) {
    if (section.Lines.isEmpty())
      continue;
    if (!first)
      out += u'\n';
    first = false;
    out += u'[' + section.Name + QStringLiteral("]\n");
    for (const TLine &line : section.Lines) {
      if (line.IsEntry)
        out += WriteKey(line.Entry.Key) + u'=' + WriteValue(line.Entry.Value) + u'\n';
      else
        out += line.Raw + u'\n';
    }
  }
  return out.toUtf8();
}

const TIniDocument::TSection *TIniDocument::Find(const QString &section) const {
  for (const TSection &s : sections_)
    if (SameName(s.Name, section))
      return &s;
  return nullptr;
}

TIniDocument::TSection &TIniDocument::FindOrAdd(const QString &section) {
  for (TSection &s : sections_)
    if (SameName(s.Name, section))
      return s;
  sections_.append(TSection{section, {}});
  return sections_.back();
}

const TIniDocument::TEntry *TIniDocument::FindEntry(const QString &section,
                                                    const QString &key) const {
  const TSection *s = Find(section);
  if (!s)
    return nullptr;
  for (const TLine &line : s->Lines)
    if (line.IsEntry && SameName(line.Entry.Key, key))
      return &line.Entry;
  return nullptr;
}

bool TIniDocument::SectionExists(const QString &section) const {
  const TSection *s = Find(section);
  if (!s)
    return false;
  for (const TLine &line : s->Lines)
    if (line.IsEntry)
      return true;
  return false;
}

QStringList TIniDocument::Sections() const {
  QStringList names;
  for (const TSection &s : sections_)
    if (SectionExists(s.Name))
      names << s.Name;
  return names;
}

QList<TIniDocument::TEntry> TIniDocument::Entries(const QString &section) const {
  QList<TEntry> entries;
  if (const TSection *s = Find(section))
    for (const TLine &line : s->Lines)
      if (line.IsEntry)
        entries.append(line.Entry);
  return entries;
}

QStringList TIniDocument::ReadSection(const QString &section) const {
  QStringList keys;
  for (const TEntry &entry : Entries(section))
    keys << entry.Key;
  return keys;
}

QStringList TIniDocument::ReadSectionValues(const QString &section) const {
  QStringList lines;
  for (const TEntry &entry : Entries(section))
    lines << entry.Key + u'=' + entry.Value;
  return lines;
}

bool TIniDocument::HasKey(const QString &section, const QString &key) const {
  return FindEntry(section, key) != nullptr;
}

QString TIniDocument::ReadString(const QString &section, const QString &key,
                                 const QString &def) const {
  const TEntry *entry = FindEntry(section, key);
  return entry ? entry->Value : def;
}

int TIniDocument::ReadInteger(const QString &section, const QString &key, int def) const {
  const TEntry *entry = FindEntry(section, key);
  int value = def;
  if (entry && ParseDecimal(entry->Value, value))
    return value;
  return def;
}

bool TIniDocument::ReadBool(const QString &section, const QString &key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniDocument::WriteString(const QString &section, const QString &key, const QString &value) {
  TSection &s = FindOrAdd(section);
  for (TLine &line : s.Lines)
    if (line.IsEntry && SameName(line.Entry.Key, key)) {
      line.Entry.Value = value;
      return;
    }
  AppendString(section, key, value);
}

void TIniDocument::WriteInteger(const QString &section, const QString &key, int value) {
  WriteString(section, key, QString::number(value));
}

void TIniDocument::WriteBool(const QString &section, const QString &key, bool value) {
  WriteInteger(section, key, value ? 1 : 0);
}

void TIniDocument::AppendString(const QString &section, const QString &key, const QString &value) {
  TLine line;
  line.IsEntry = true;
  line.Entry = TEntry{key, value};
  FindOrAdd(section).Lines.append(line);
}

void TIniDocument::EraseSection(const QString &section) {
  // The section keeps its place, so that a list written again stays where it was; a section
  // left without lines is not written at all.
  for (TSection &s : sections_)
    if (SameName(s.Name, section))
      s.Lines.clear();
}

namespace {
QString ItemKey(qsizetype i) {
  return QStringLiteral("Item%1").arg(i);
}
} // namespace

bool TIniDocument::ReadItemList(const QString &section, QStringList &list) const {
  if (!SectionExists(section))
    return false;
  const qsizetype count = Entries(section).size();
  list.clear();
  for (qsizetype i = 0; i < count; ++i)
    list << ReadString(section, ItemKey(i), QString());
  return true;
}

void TIniDocument::WriteItemList(const QString &section, const QStringList &list) {
  EraseSection(section);
  for (qsizetype i = 0; i < list.size(); ++i)
    AppendString(section, ItemKey(i), list[i]);
}
