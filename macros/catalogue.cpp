// The system macro catalogue; see catalogue.h.
#include "macros/catalogue.h"

#include "messages/error.h"
#include "messages/str.h"

#include <QSet>

namespace {

// Splits at sep outside double-quoted sections. Blanks are ordinary characters.
QStringList SplitTableText(const QString &text, QChar sep) {
  QStringList pieces;
  if (text.isEmpty())
    return pieces;
  QString piece;
  bool quoted = false;
  for (const QChar c : text) {
    if (c == u'"')
      quoted = !quoted;
    if (c == sep && !quoted) {
      pieces.append(piece);
      piece.clear();
    } else {
      piece.append(c);
    }
  }
  pieces.append(piece);
  return pieces;
}

// A field enclosed in double quotes is taken without them.
QString UnquoteField(const QString &field) {
  if (field.size() >= 2 && field.front() == u'"' && field.back() == u'"')
    return field.mid(1, field.size() - 2);
  return field;
}

// The entries of one table text, each as its list of fields.
QList<QStringList> ParseTable(const QString &text) {
  QList<QStringList> entries;
  for (const QString &entry : SplitTableText(text, u',')) {
    QStringList fields;
    for (const QString &field : SplitTableText(entry, u';'))
      fields.append(UnquoteField(field));
    entries.append(fields);
  }
  return entries;
}

TMacroType TypeOfField(const QString &field) {
  if (field == u"N")
    return mtNumber;
  if (field == u"T")
    return mtText;
  return mtNone;
}

const QString &TableText(TMacroLevel level) {
  switch (level) {
  case mlAlbum:
    return str::_system_macro_album;
  case mlTrack:
    return str::_system_macro_track;
  case mlPriority:
    break;
  }
  return str::_system_macro_prio;
}

// Names seen so far by the check, compared without regard to case.
class TNameSet {
public:
  bool Contains(const QString &name) const { return names_.contains(name.toCaseFolded()); }
  void Insert(const QString &name) { names_.insert(name.toCaseFolded()); }

private:
  QSet<QString> names_;
};

// Checks an album or track table, adding its names to used and to own.
bool CheckLevelTable(const QString &text, TNameSet &used, TNameSet &own) {
  const QList<QStringList> entries = ParseTable(text);
  if (entries.isEmpty())
    return false;
  for (const QStringList &f : entries) {
    if (f.size() != 3 && f.size() != 5)
      return false;
    if (!IsValidMacroName(f[0]) || used.Contains(f[0]))
      return false;
    if (TypeOfField(f[1]) == mtNone)
      return false;
    if (f.size() == 5 && ((f[3] != u"R" && f[3] != u"S") || !IsValidMacroName(f[4])))
      return false;
    used.Insert(f[0]);
    own.Insert(f[0]);
  }
  return true;
}

bool CheckPrioTable(const QString &text, TNameSet &used, const TNameSet &album,
                    const TNameSet &track) {
  const QList<QStringList> entries = ParseTable(text);
  if (entries.isEmpty())
    return false;
  for (const QStringList &f : entries) {
    if (f.size() != 5)
      return false;
    if (!IsValidMacroName(f[0]) || used.Contains(f[0]))
      return false;
    if (TypeOfField(f[1]) == mtNone)
      return false;
    if (!track.Contains(f[3]) || !album.Contains(f[4]))
      return false;
    used.Insert(f[0]);
  }
  return true;
}

bool IsAsciiLetter(QChar c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
bool IsAsciiDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

} // namespace

const TKeywordEntry *TKeywordTable::Find(const QString &keyword) const {
  for (const TKeywordEntry &e : Entries)
    if (e.Keyword.compare(keyword, Qt::CaseInsensitive) == 0)
      return &e;
  return nullptr;
}

bool IsValidMacroName(const QString &text) {
  if (text.isEmpty() || !IsAsciiLetter(text.front()))
    return false;
  for (const QChar c : text)
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c))
      return false;
  return true;
}

bool ValidateSystemMacroTables() {
  return ValidateSystemMacroTables(str::_system_macro_album, str::_system_macro_track,
                                   str::_system_macro_prio);
}

bool ValidateSystemMacroTables(const QString &albumTable, const QString &trackTable,
                               const QString &prioTable) {
  TNameSet used, album, track;
  return CheckLevelTable(albumTable, used, album) && CheckLevelTable(trackTable, used, track) &&
         CheckPrioTable(prioTable, used, album, track);
}

void CheckSystemMacroTables() {
  if (!ValidateSystemMacroTables())
    throw TError(str::_err_InvalidMacroDefInfo);
}

TKeywordTables BuildKeywordTables(TMacroLevel level) {
  TKeywordTables tables;
  if (level != mlAlbum && level != mlTrack)
    return tables;
  for (const QStringList &f : ParseTable(TableText(level))) {
    if (f.size() != 5)
      continue;
    TKeywordTable &table = f[3] == u"R" ? tables.Rem : tables.Standard;
    table.Entries.append({f[4], f[0], TypeOfField(f[1])});
  }
  return tables;
}

QList<TSystemMacro> ListSystemMacros(TMacroLevel level) {
  QList<TSystemMacro> list;
  if (level != mlAlbum && level != mlTrack)
    return list;
  for (const QStringList &f : ParseTable(TableText(level)))
    if (f.size() >= 2)
      list.append({f[0], TypeOfField(f[1])});
  return list;
}

TPrioMacroList ListPriorityMacros() {
  TPrioMacroList list;
  for (const QStringList &f : ParseTable(TableText(mlPriority)))
    if (f.size() >= 5)
      list.append({f[0], {TypeOfField(f[1]), f[3], f[4]}});
  return list;
}

TMacroDefList ListMacroDefinitions() {
  TMacroDefList list;
  for (TMacroLevel level : {mlAlbum, mlTrack, mlPriority})
    for (const QStringList &f : ParseTable(TableText(level)))
      if (f.size() >= 3)
        list.append({f[0], {TypeOfField(f[1]), level, f[2]}});
  return list;
}
