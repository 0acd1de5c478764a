// Resolving a macro name for one album and, where there is one, one of its tracks: the track's
// table first, priority macros falling back from the track's macro to the album's, then the
// album's table. TMacroScope is the view of the two tables that resolution and expansion read.
#pragma once

#include "macros/macrolist.h"

// The macro tables a name is resolved against: a cue sheet's AlbumMacros and, for track-level
// use, one track's Macros. Either may be null (none at all only checks syntax); a track table is
// meant to come with its album's table.
struct TMacroScope {
  const TMacroList *Album = nullptr;
  const TMacroList *Track = nullptr;
};

// The value that name stands for, or null. type is in/out: mtNone on entry means "not fixed";
// the first macro found with a type fixes it, so that all names of one reference list yield
// values of one type. The result has HasValue or UserSet; a UserSet result without HasValue is a
// system macro the user undefined, and one of type mtNone an undefined user macro.
const TMacroValue *ResolveMacro(const QString &name, TMacroType &type, const TMacroScope &scope);
const TMacroValue *ResolveMacro(const QString &name, TMacroType &type,
                                const TMacroList *albumMacros, const TMacroList *trackMacros);
