// The global ID3 tag definitions of one batch: the settings' TagList read once when the batch
// starts, as an ordered list of tag names with their value templates.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// An ordered table from tag name, as the setting writes it (with its "@" where it has one), to
// a macro template. Names are compared without regard to case, so "@TRCK" and "TRCK" are two
// entries but "trck" and "TRCK" one.
class TSimpleID3TagList {
public:
  // Gives name the template: an entry of that name keeps its place and takes the new template,
  // otherwise a new entry is appended.
  void Set(const QString &name, const QString &tmpl);

  int IndexOf(const QString &name) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  const QString &Name(int index) const { return entries_.at(index).Name; }
  const QString &Template(int index) const { return entries_.at(index).Template; }

private:
  struct Entry {
    QString Name;
    QString Template;
  };
  std::vector<Entry> entries_;
};

// The settings the global list is built from, read by the caller under the settings read lock
// (held for the whole build, so the two values belong together).
struct TTagListSettings {
  bool UseTagInfo = true;
  QStringList TagList; // bang lists, !name!;!template! each
};

// The batch's global list: none when UseTagInfo is off or TagList is empty (then no tag comes
// from the settings). Each item is read with ParseBangList; one that does not give exactly two
// fields with a valid tag name in the first is skipped without a message.
std::unique_ptr<TSimpleID3TagList> BuildID3TagList(const TTagListSettings &settings);
