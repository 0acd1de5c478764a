// The final MP3 file of a track: the tag written here followed by the encoder's audio, with the
// encoder's own ID3v2 tag left out. The file appears under its name only once it is complete:
// it is written to a temporary file beside it and renamed, so a failure at any point leaves
// either the previous file of that name or none, never a partial one.
#pragma once

#include <QString>

class TID3Tag;

enum class TMP3FileResult {
  Tagged,   // the file holds the tag and the audio
  Untagged, // tagging failed; the file is an unchanged copy of the encoder's output
  Failed,   // tagging and the copy failed; no file was made (a previous one stays untouched)
};

// Writes tag followed by the audio of encodedPath to mp3Path. Raises TError
// (_err_MargeTagToMP3) when a file cannot be read, written or renamed, or when the encoder's
// output holds no audio after its own tag.
void WriteTaggedMP3(const TID3Tag &tag, const QString &encodedPath, const QString &mp3Path);

// Copies encodedPath unchanged to mp3Path. Raises TError (_err_CreateMP3File) when a file cannot
// be read, written or renamed, or when the encoder's output is empty.
void CopyMP3File(const QString &encodedPath, const QString &mp3Path);

// WriteTaggedMP3, and CopyMP3File when that fails. Never throws. The caller logs
// _err_MargeTagToMP3 for Untagged, and for Failed also _err_CreateMP3File.
TMP3FileResult MakeMP3File(const TID3Tag &tag, const QString &encodedPath, const QString &mp3Path);
