// The macro table and its value rules; see macrolist.h.
#include "macros/macrolist.h"

#include "macros/quoting.h"

const TMacroValue *TMacroList::Find(const QString &name) const {
  const auto it = index_.constFind(name.toCaseFolded());
  return it == index_.constEnd() ? nullptr : entries_[*it].Value.get();
}

TMacroValue *TMacroList::FindMutable(const QString &name) {
  return const_cast<TMacroValue *>(std::as_const(*this).Find(name));
}

TMacroValue &TMacroList::Add(const QString &name, TMacroType type, quint32 flags) {
  auto value = std::make_unique<TMacroValue>();
  value->Type = type;
  value->Flags = flags;
  index_.insert(name.toCaseFolded(), Count());
  entries_.push_back({name, std::move(value)});
  return *entries_.back().Value;
}

void TMacroList::AddSystem(const QString &name, TMacroType type) {
  if (!Find(name))
    Add(name, type, TMacroValue::SystemMacro);
}

void TMacroList::AddPriority(const QString &name, TMacroType type, const QString &trackMacro,
                             const QString &albumMacro) {
  if (Find(name))
    return;
  TMacroValue &v = Add(name, type, TMacroValue::SystemMacro | TMacroValue::Priority);
  v.Text = TrimBlanks(trackMacro) + u';' + TrimBlanks(albumMacro);
}

TMacroValue *TMacroList::OpenForValue(const QString &name, TMacroType type, bool fromCue) {
  TMacroValue *v = FindMutable(name);
  if (!v)
    return &Add(name, type, TMacroValue::UserSet | TMacroValue::HasValue);
  if (v->Type == mtNone || v->Type != type || !v->Is(TMacroValue::SystemMacro) ||
      v->Is(TMacroValue::UserSet) || (fromCue && v->Is(TMacroValue::HasValue)))
    return nullptr;
  v->Flags |= TMacroValue::HasValue;
  if (!fromCue)
    v->Flags |= TMacroValue::UserSet;
  v->Flags &= ~quint32(TMacroValue::Priority);
  return v;
}

bool TMacroList::SetText(const QString &name, const QString &text, bool fromCue) {
  TMacroValue *v = OpenForValue(name, mtText, fromCue);
  if (!v)
    return false;
  v->Text = text;
  return true;
}

bool TMacroList::SetNumber(const QString &name, qint32 number, bool fromCue) {
  TMacroValue *v = OpenForValue(name, mtNumber, fromCue);
  if (!v)
    return false;
  v->Number = number;
  return true;
}

bool TMacroList::Undefine(const QString &name) {
  TMacroValue *v = FindMutable(name);
  if (!v) {
    Add(name, mtNone, TMacroValue::UserSet | TMacroValue::HasValue);
    return true;
  }
  if (v->Type == mtNone || !v->Is(TMacroValue::SystemMacro) || v->Is(TMacroValue::UserSet))
    return false;
  v->Flags &= ~quint32(TMacroValue::HasValue);
  v->Flags |= TMacroValue::UserSet;
  return true;
}
