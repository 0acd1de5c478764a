// One track's ID3 tag from the tag definitions; see buildid3tag.h.
#include "naming/buildid3tag.h"

#include "id3/id3tag.h"
#include "macros/expand.h"

namespace {

QString WithLatin1Request(const QString &name, bool latin1) {
  if (!latin1 || name.startsWith(u'@'))
    return name;
  return u'@' + name;
}

void AddTextFrame(TID3Tag &tag, const QString &name, const QString &text,
                  const TID3TagBuildSettings &settings) {
  if (settings.TagNoEmptyTag && text.isEmpty())
    return;
  tag.AddFrame(name, text);
}

void AddCueDefinitions(TID3Tag &tag, const TID3TagList *list,
                       const TID3TagBuildSettings &settings) {
  if (list == nullptr)
    return;
  for (int i = 0; i < list->Count(); ++i) {
    const TID3TagValue &value = list->Value(i);
    if (value.IsDisabled() || tag.IndexOf(list->Name(i)) >= 0)
      continue;
    AddTextFrame(tag, WithLatin1Request(list->Name(i), value.IsLatin1()), value.Text, settings);
  }
}

} // namespace

void BuildID3Tag(const TSimpleID3TagList *globalList, const TMacroScope &macros,
                 const TID3TagScope &tags, const TID3TagBuildSettings &settings, TID3Tag &tag) {
  if (globalList != nullptr) {
    for (int i = 0; i < globalList->Count(); ++i) {
      const QString &name = globalList->Name(i);
      const QString &tmpl = globalList->Template(i);
      QString text;
      QString frameName = name;
      if (const TID3TagValue *def = FindID3TagDef(name, tags)) {
        if (def->IsDisabled())
          continue;
        text = def->Text;
        frameName = WithLatin1Request(name, def->IsLatin1());
      } else if (tmpl.isEmpty() || !ExpandTemplate(tmpl, macros, false, text)) {
        continue;
      }
      AddTextFrame(tag, frameName, text, settings);
    }
  }
  AddCueDefinitions(tag, tags.Track, settings);
  AddCueDefinitions(tag, tags.Album, settings);
}
