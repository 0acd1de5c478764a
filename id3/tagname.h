// The tag-name syntax of the ID3 tag definitions: an optional "@" (Latin-1 request), a
// four-character frame id and, after ".", an extension. The writer parses every name it is
// handed with ParseTagName; the tag definitions use the same parser, so the two never disagree.
#pragma once

#include <QString>

// Frame kinds, as ParseTagName returns them.
enum TID3FrameType : int {
  ftInvalid = 0,
  ftText = 1,     // T???, no extension
  ftUserText = 2, // TXXX.description
  ftURL = 3,      // W???, no extension
  ftUserURL = 4,  // WXXX.description
  ftComment = 5,  // COMM.lng or COMM.lng.description
};

struct TTagName {
  int Type = ftInvalid; // one of TID3FrameType
  QString ID;           // the four id characters, upper case
  QString Extension;    // the text after the ".", trimmed; empty when there is none
  bool Latin1 = false;  // the name began with "@"

  bool IsValid() const { return Type != ftInvalid; }
};

// Parses a tag name. An invalid name gives Type ftInvalid and empty fields.
TTagName ParseTagName(const QString &text);

// The upper-case id, or the upper-case id, "." and the extension as written.
QString CanonicalTagName(const QString &id, const QString &extension);
