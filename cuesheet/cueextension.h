// The program's own definitions inside a cue sheet's REM lines: options (REM QUARROW:OPTION),
// ID3 tags (REM QUARROW:ID3TAG or REM ID3TAG) and user macros (REM QUARROW:MACRO), each honoured
// only when its setting allows it. Before the first TRACK line a definition applies to the
// album, inside a track's section to that track.
#pragma once

#include <QString>

class TCueSheet;
class TCueTrack;

// Called by the reader for every REM line of three or more tokens that it does not know:
// line is the trimmed line, keyword its second token, track null in the album section,
// lineIndex the line's 0-based index. Results go into the model, reports through the sheet.
void DispatchExtensionLine(TCueSheet &sheet, const QString &line, const QString &keyword,
                           TCueTrack *track, int lineIndex);

// The three parsers; definition is the text after the keyword, trimmed.
void ParseOptionDef(TCueSheet &sheet, const QString &definition, int lineIndex, TCueTrack *track);
void ParseID3TagDef(TCueSheet &sheet, const QString &definition, int lineIndex, TCueTrack *track);
void ParseMacroDef(TCueSheet &sheet, const QString &definition, int lineIndex, TCueTrack *track);
