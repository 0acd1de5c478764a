// The catalogue of built-in ("system") macros: the three tables of the message table
// (album, track, priority), their start-up check, and everything derived from them at run
// time: the cue reader's keyword tables, the lists used to register macros, and the macro
// definitions the dialogs show. Also the rule for a valid macro name.
#pragma once

#include <QList>
#include <QString>
#include <utility>

// The type of a macro value. mtNone is also "not fixed yet" while a reference is resolved.
enum TMacroType : qint32 { mtNone = 0, mtNumber = 1, mtText = 2 };

// Which table a macro comes from: the level of BuildKeywordTables / ListSystemMacros and the
// Scope of TMacroDefInfo.
enum TMacroLevel : qint32 { mlAlbum = 0, mlTrack = 1, mlPriority = 2 };

// One macro as the dialogs list it.
struct TMacroDefInfo {
  TMacroType Type = mtNone; // mtNumber or mtText
  TMacroLevel Scope = mlAlbum;
  QString Description;
};

// One priority macro: its type and the track and album macros it takes its value from.
struct TPrioMacroInfo {
  TMacroType Type = mtNone;
  QString TrackMacro;
  QString AlbumMacro;
};

// One album or track macro to register.
struct TSystemMacro {
  QString Name;
  TMacroType Type = mtNone;
};

// A cue command keyword and the macro that receives its value.
struct TKeywordEntry {
  QString Keyword;
  QString MacroName;
  TMacroType Type = mtNone;
};

// The keywords of one kind of cue command, in table order; looked up without regard to case.
struct TKeywordTable {
  QList<TKeywordEntry> Entries;
  const TKeywordEntry *Find(const QString &keyword) const;
};

// Standard commands (keyword, value) and REM commands (REM, keyword, value) of one level.
struct TKeywordTables {
  TKeywordTable Standard;
  TKeywordTable Rem;
};

using TPrioMacroList = QList<std::pair<QString, TPrioMacroInfo>>;
using TMacroDefList = QList<std::pair<QString, TMacroDefInfo>>;

// Not empty, an ASCII letter first, then only ASCII letters and digits.
bool IsValidMacroName(const QString &text);

// The start-up check of the built-in tables.
bool ValidateSystemMacroTables();
// The same check on the given table texts. It fails at the first violation: a table without
// entries; an album or track entry without 3 or 5 fields, with an invalid or already used name
// (any table, without regard to case), a type other than "N" or "T", or in a 5-field entry a
// source other than "R" or "S" or an invalid keyword; a priority entry without 5 fields, with
// an invalid or used name, a bad type, or a track / album macro that is not a name of the track
// / album table.
bool ValidateSystemMacroTables(const QString &albumTable, const QString &trackTable,
                               const QString &prioTable);
// Runs the start-up check and raises TError with _err_InvalidMacroDefInfo when it fails.
void CheckSystemMacroTables();

// For mlAlbum or mlTrack: every 5-field entry of that table, in the REM table when its source
// is "R", else in the standard table. Other levels give two empty tables.
TKeywordTables BuildKeywordTables(TMacroLevel level);

// Every entry of the album or track table, in table order (empty for other levels).
QList<TSystemMacro> ListSystemMacros(TMacroLevel level);

// Every entry of the priority table, in table order.
TPrioMacroList ListPriorityMacros();

// The album table, then the track table, then the priority table.
TMacroDefList ListMacroDefinitions();
