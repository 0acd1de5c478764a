// TID3Tag: one ID3v2.3 or ID3v2.4 tag being built, as an ordered list of frames (TID3TagInfo)
// under their keys, and its byte layout.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;
struct TID3TagOptions;

// One frame. Type is one of TID3FrameType (id3/tagname.h).
class TID3TagInfo {
public:
  int Type = 0;
  QString ID;          // four characters, upper case
  QString Description; // user text, user URL and comment frames; empty otherwise
  QString Text;        // the text, the URL or the comment
  QString Language;    // comment frames: three letters
  bool Latin1 = false; // written with encoding 0 whatever the tag-wide encoding
  std::uint16_t Flags = 0;
};

class TID3Tag {
public:
  // version: major version in the high byte (3 or 4), revision in the low byte. An encoding
  // above 3 is stored as 1.
  TID3Tag(std::uint16_t version, std::uint16_t padding, bool terminate, bool omitBOM,
          std::uint8_t encoding);
  explicit TID3Tag(const TID3TagOptions &options);

  // Adds a frame for a tag name such as "TALB", "@TRCK", "TXXX.DISCID" or "COMM.jpn.memo".
  // Returns the frame's index, or -1 (nothing added) when the name is invalid or a frame of the
  // same key (the canonical name, compared without regard to case) is already there.
  int AddFrame(const QString &tagName, const QString &text, std::uint16_t flags = 0);

  // Writes header, frames in order and padding; returns the number of bytes of the whole tag.
  // Raises TError when the device refuses a write or the tag is too large to describe.
  std::int64_t WriteTo(QIODevice &stream) const;

  int Count() const { return static_cast<int>(frames_.size()); }
  const QString &Key(int index) const { return frames_.at(index).Key; }
  const TID3TagInfo &Frame(int index) const { return *frames_.at(index).Info; }
  int IndexOf(const QString &key) const;

  std::uint16_t Version() const { return version_; }
  std::uint16_t Padding() const { return padding_; }
  bool Terminate() const { return terminate_; }
  bool OmitBOM() const { return omitBOM_; }
  std::uint8_t Encoding() const { return encoding_; }

private:
  struct Entry {
    QString Key;
    std::unique_ptr<TID3TagInfo> Info;
  };

  std::uint16_t version_;
  std::uint16_t padding_;
  bool terminate_;
  bool omitBOM_;
  std::uint8_t encoding_;
  std::vector<Entry> frames_;
};
