// The ID3 tag definitions of a cue sheet: TID3TagList holds, per album and per track, the tags
// that REM QUARROW:ID3TAG lines define with a literal text or switch off, and FindID3TagDef
// looks a name up the way the tag builder does (the track's list first, then the album's).
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// One cue-sheet tag definition. Never changes after it is added to a list.
struct TID3TagValue {
  static constexpr std::uint32_t Latin1 = 1u << 0;    // the definition's name had "@"
  static constexpr std::uint32_t Disabled = 1u << 31; // an undefinition: no frame of this name

  std::uint32_t Flags = 0;
  QString Text; // taken literally, not a macro template

  bool IsDisabled() const { return (Flags & Disabled) != 0; }
  bool IsLatin1() const { return (Flags & Latin1) != 0; }
};

// An ordered table from tag name to definition. Names are compared without regard to case, and
// a leading "@" of a name given to any operation is removed first, so "@TPOS" and "tpos" name
// the same entry. Callers pass canonical names (CanonicalTagName); the list does not check them.
class TID3TagList {
public:
  // The definition of name, or null.
  const TID3TagValue *Find(const QString &name) const;

  // Adds an enabled definition; false (and no change) when the name is already in the list.
  bool Define(const QString &name, const QString &text, bool latin1);

  // Adds a disabled definition with an empty text; false (and no change) when the name is
  // already in the list, defined or undefined.
  bool Undefine(const QString &name);

  int Count() const { return static_cast<int>(entries_.size()); }
  // The name as it was given, without its "@".
  const QString &Name(int index) const { return entries_.at(index).Name; }
  const TID3TagValue &Value(int index) const { return entries_.at(index).Value; }

private:
  struct Entry {
    QString Name;
    TID3TagValue Value;
  };

  int IndexOf(const QString &bareName) const;
  bool Add(const QString &name, TID3TagValue value);

  std::vector<Entry> entries_;
};

// The two definition lists that apply to one track: the cue sheet's album list and the
// track's own. Either may be null (no track at album level).
struct TID3TagScope {
  const TID3TagList *Album = nullptr;
  const TID3TagList *Track = nullptr;
};

// The definition of name for a track: the track's list first, then the album's. An empty name
// gives null.
const TID3TagValue *FindID3TagDef(const QString &name, const TID3TagScope &scope);
