// The batch's global ID3 tag definitions; see globaltaglist.h.
#include "naming/globaltaglist.h"

#include "id3/tagname.h"
#include "naming/banglist.h"

int TSimpleID3TagList::IndexOf(const QString &name) const {
  for (int i = 0; i < Count(); ++i)
    if (entries_[i].Name.compare(name, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

void TSimpleID3TagList::Set(const QString &name, const QString &tmpl) {
  const int index = IndexOf(name);
  if (index >= 0)
    entries_[index].Template = tmpl;
  else
    entries_.push_back({name, tmpl});
}

std::unique_ptr<TSimpleID3TagList> BuildID3TagList(const TTagListSettings &settings) {
  if (!settings.UseTagInfo || settings.TagList.isEmpty())
    return nullptr;
  auto list = std::make_unique<TSimpleID3TagList>();
  for (const QString &item : settings.TagList) {
    QStringList fields;
    if (!ParseBangList(item, fields) || fields.size() != 2)
      continue;
    if (!ParseTagName(fields[0]).IsValid())
      continue;
    list->Set(fields[0], fields[1]);
  }
  return list;
}
