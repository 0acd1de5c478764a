// Cue-sheet ID3 tag definition lists; see id3taglist.h.
#include "naming/id3taglist.h"

namespace {

QString WithoutAt(const QString &name) {
  return name.startsWith(u'@') ? name.mid(1) : name;
}

} // namespace

int TID3TagList::IndexOf(const QString &bareName) const {
  for (int i = 0; i < Count(); ++i)
    if (entries_[i].Name.compare(bareName, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

const TID3TagValue *TID3TagList::Find(const QString &name) const {
  const int index = IndexOf(WithoutAt(name));
  return index < 0 ? nullptr : &entries_[index].Value;
}

bool TID3TagList::Add(const QString &name, TID3TagValue value) {
  const QString bare = WithoutAt(name);
  if (IndexOf(bare) >= 0)
    return false;
  entries_.push_back({bare, std::move(value)});
  return true;
}

bool TID3TagList::Define(const QString &name, const QString &text, bool latin1) {
  return Add(name, {latin1 ? TID3TagValue::Latin1 : 0u, text});
}

bool TID3TagList::Undefine(const QString &name) {
  return Add(name, {TID3TagValue::Disabled, QString()});
}

const TID3TagValue *FindID3TagDef(const QString &name, const TID3TagScope &scope) {
  if (name.isEmpty())
    return nullptr;
  if (scope.Track != nullptr)
    if (const TID3TagValue *value = scope.Track->Find(name))
      return value;
  if (scope.Album != nullptr)
    return scope.Album->Find(name);
  return nullptr;
}
