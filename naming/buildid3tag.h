// Assembling one track's ID3 tag from the batch's global definitions and the cue sheet's own:
// the conversion thread calls BuildID3Tag once per track, after the encoder has finished.
#pragma once

#include "macros/resolve.h"
#include "naming/globaltaglist.h"
#include "naming/id3taglist.h"

class TID3Tag;

// The setting the tag builder reads, by the caller under the settings read lock.
struct TID3TagBuildSettings {
  bool TagNoEmptyTag = false; // write no frame whose text is empty
};

// Fills tag for one track, in two passes.
// 1. Each global definition (name n, template t) in order: a cue-sheet definition of n (the
//    track's first, then the album's) that is disabled gives no frame; an enabled one gives its
//    literal text; otherwise t is expanded for the track with undefined macros failing, and an
//    empty t or a failed expansion gives no frame. The frame is added under n, so the "@" of the
//    global name asks for Latin-1; so does the "@" of an overriding cue-sheet definition.
// 2. The track's definitions, then the album's, in list order: each enabled one whose name has
//    no frame yet is added with its text under its name ("@" first when it asked for Latin-1).
// In both passes an empty text gives no frame when TagNoEmptyTag is on.
// globalList may be null (no tags from the settings); macros and tags are the track's scope.
void BuildID3Tag(const TSimpleID3TagList *globalList, const TMacroScope &macros,
                 const TID3TagScope &tags, const TID3TagBuildSettings &settings, TID3Tag &tag);
