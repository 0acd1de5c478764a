// TIniDocument: the sections and keys of one settings store, held in memory with the rules of
// Windows INI files: section and key names match without regard to case, sections and keys keep
// their order, and a section without entries counts as absent. It also reads and writes the
// UTF-8 INI text form.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class TIniDocument {
public:
  struct TEntry {
    QString Key;
    QString Value;
  };

  // Reads INI text. Never fails: lines that are neither a section, an entry nor a comment are
  // kept but carry nothing; bytes that are not UTF-8 become replacement characters.
  static TIniDocument Parse(const QByteArray &text);
  // The INI text of the document. A key or value that the plain form would change on reading
  // (blanks at its ends, line breaks, a leading '[' or ';' in a key, enclosing double quotes) is
  // written between double quotes with '\\', '"', CR and LF escaped by a backslash.
  QByteArray Serialize() const;

  bool SectionExists(const QString &section) const;
  QStringList Sections() const;
  // The entries of a section in file order, duplicates included.
  QList<TEntry> Entries(const QString &section) const;
  QStringList ReadSection(const QString &section) const;       // the key names
  QStringList ReadSectionValues(const QString &section) const; // "key=value" lines

  bool HasKey(const QString &section, const QString &key) const;
  QString ReadString(const QString &section, const QString &key, const QString &def) const;
  // A key that is missing or holds no decimal integer reads as def.
  int ReadInteger(const QString &section, const QString &key, int def) const;
  // Any integer other than 0 is true.
  bool ReadBool(const QString &section, const QString &key, bool def) const;

  // Replaces the first entry of that key, or appends one (and the section) when there is none.
  void WriteString(const QString &section, const QString &key, const QString &value);
  void WriteInteger(const QString &section, const QString &key, int value);
  void WriteBool(const QString &section, const QString &key, bool value);
  // Appends an entry even when the key is there already, so that a list written into an erased
  // section keeps every one of its entries.
  void AppendString(const QString &section, const QString &key, const QString &value);
  void EraseSection(const QString &section);

  // A list kept as Item0, Item1, ...: when the section exists, list becomes, for i below the
  // number of its entries, the value of "Item<i>" (empty when that key is missing) and the
  // result is true; otherwise list stays as it was and the result is false.
  bool ReadItemList(const QString &section, QStringList &list) const;
  // Erases the section, then writes list as Item0, Item1, ... in order.
  void WriteItemList(const QString &section, const QStringList &list);

private:
  struct TLine {
    bool IsEntry = false;
    TEntry Entry;
    QString Raw; // the line as it stood, for comments and lines that hold nothing
  };
  struct TSection {
    QString Name;
    QList<TLine> Lines;
  };

  const TSection *Find(const QString &section) const;
  TSection &FindOrAdd(const QString &section);
  const TEntry *FindEntry(const QString &section, const QString &key) const;

  QList<QString> prologue_; // lines before the first section
  QList<TSection> sections_;
};
