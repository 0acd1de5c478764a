// Macro name resolution; see resolve.h.
#include "macros/resolve.h"

#include <QStringList>

namespace {

bool IsSet(const TMacroValue &v) {
  return v.Is(TMacroValue::HasValue) || v.Is(TMacroValue::UserSet);
}

void FixType(TMacroType &type, const TMacroValue &v) {
  if (type == mtNone && (v.Type == mtNumber || v.Type == mtText))
    type = v.Type;
}

// A set value usable for a reference of this type (mtNone values fit every type).
const TMacroValue *IfUsable(const TMacroValue *v, TMacroType type) {
  return v && IsSet(*v) && (v->Type == type || v->Type == mtNone) ? v : nullptr;
}

// A priority macro's value: the first of its named macros, each looked up in the track table
// and then in the album table, that is an ordinary set macro of the priority macro's type.
const TMacroValue *ResolvePriority(const TMacroValue &prio, const TMacroScope &scope) {
  for (const QString &name : prio.Text.split(u';', Qt::SkipEmptyParts)) {
    for (const TMacroList *list : {scope.Track, scope.Album}) {
      const TMacroValue *v = list ? list->Find(name) : nullptr;
      if (v && !v->Is(TMacroValue::Priority) && v->Type == prio.Type && IsSet(*v))
        return v;
    }
  }
  return nullptr;
}

} // namespace

const TMacroValue *ResolveMacro(const QString &name, TMacroType &type, const TMacroScope &scope) {
  if (scope.Track) {
    if (const TMacroValue *v = scope.Track->Find(name)) {
      FixType(type, *v);
      const TMacroValue *result = nullptr;
      if (IsSet(*v))
        result = IfUsable(v, type);
      else if (v->Is(TMacroValue::Priority) && v->Type == type)
        result = ResolvePriority(*v, scope);
      // A track's own system macro without a value does not fall back to the album.
      if (result || v->Is(TMacroValue::SystemMacro))
        return result;
    }
  }
  if (!scope.Album)
    return nullptr;
  const TMacroValue *a = scope.Album->Find(name);
  if (a)
    FixType(type, *a);
  return IfUsable(a, type);
}

const TMacroValue *ResolveMacro(const QString &name, TMacroType &type,
                                const TMacroList *albumMacros, const TMacroList *trackMacros) {
  return ResolveMacro(name, type, TMacroScope{albumMacros, trackMacros});
}
