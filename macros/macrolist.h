// TMacroValue and TMacroList: one macro table (one per album, one per track) and the rules by
// which cue values, user definitions and undefinitions change it.
#pragma once

#include "macros/catalogue.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// One macro's state.
struct TMacroValue {
  enum Flag : quint32 {
    SystemMacro = 1u << 0, // registered from a catalogue table
    Priority = 1u << 1,    // a priority macro not yet overridden
    UserSet = 1u << 2,     // defined or undefined by the user; never changes again
    HasValue = 1u << 3,
  };

  TMacroType Type = mtNone;
  quint32 Flags = 0;
  QString Text;      // the text; for a priority macro "trackMacro;albumMacro"
  qint32 Number = 0; // the number

  bool Is(Flag flag) const { return (Flags & flag) != 0; }
};

// An ordered table from macro name to an owned value. Names are compared without regard to
// case; the first spelling added is kept. Values keep their address while the table lives.
class TMacroList {
public:
  TMacroList() = default;
  TMacroList(TMacroList &&) = default;
  TMacroList &operator=(TMacroList &&) = default;
  TMacroList(const TMacroList &) = delete;
  TMacroList &operator=(const TMacroList &) = delete;

  const TMacroValue *Find(const QString &name) const;

  // Registers a catalogue macro without a value; a name already present is left alone.
  void AddSystem(const QString &name, TMacroType type);
  // Registers a priority macro whose value comes from trackMacro, else albumMacro (both
  // trimmed); a name already present is left alone.
  void AddPriority(const QString &name, TMacroType type, const QString &trackMacro,
                   const QString &albumMacro);

  // Give a macro a value: fromCue for values from cue commands, clear for user definitions.
  // An absent name becomes a user macro of that type. A present one accepts the value only if
  // it is a system macro of that type that the user has not touched and, for a cue value, that
  // has no value yet. Refused: false, nothing changes.
  bool SetText(const QString &name, const QString &text, bool fromCue);
  bool SetNumber(const QString &name, qint32 number, bool fromCue);

  // The user's undefinition. An absent name becomes a user macro of type mtNone (it expands to
  // the empty text); a system macro the user has not touched loses its value for good (every
  // reference to it fails). Anything else: false, nothing changes.
  bool Undefine(const QString &name);

  int Count() const { return static_cast<int>(entries_.size()); }
  const QString &Name(int index) const { return entries_[index].Name; }
  const TMacroValue &Value(int index) const { return *entries_[index].Value; }

private:
  struct Entry {
    QString Name;
    std::unique_ptr<TMacroValue> Value;
  };

  TMacroValue *FindMutable(const QString &name);
  TMacroValue &Add(const QString &name, TMacroType type, quint32 flags);
  // The value a set of this type may write (flags already updated), or null when refused.
  TMacroValue *OpenForValue(const QString &name, TMacroType type, bool fromCue);

  std::vector<Entry> entries_;
  QHash<QString, int> index_; // case-folded name -> position in entries_
};
