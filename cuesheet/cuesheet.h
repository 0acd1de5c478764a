// TCueSheet and TCueTrack: one read cue sheet and its tracks, and the reader that fills them
// from a .cue file. Sample positions count 44100 Hz sample frames from the start of the audio
// file; a track runs from Index01 to LastSample inclusive.
#pragma once

#include "cuesheet/cuevalues.h"
#include "macros/macrolist.h"
#include "macros/resolve.h"
#include "naming/id3taglist.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TSettings;
class TWaveStreamManager;
class TCueSheet;

// The kinds of report the reader makes through OnMessage.
enum TCueMessageKind : int {
  cmkError = 0,       // always passed: name is the whole message
  cmkCueSentence = 1, // a command and its value
  cmkCueMacroDef = 2,
  cmkCueID3TagDef = 3,
  cmkCueOptionDef = 4,
};

class TCueTrack {
public:
  TCueTrack() = default;
  TCueTrack(const TCueTrack &) = delete;
  TCueTrack &operator=(const TCueTrack &) = delete;

  QString GetValue(const QString &keyword) const { return Values.Get(keyword); }
  bool HasValue(const QString &keyword) const { return Values.Has(keyword); }
  // The track's length in sample frames.
  std::uint32_t Length() const { return LastSample - Index01 + 1; }

  TCueValues Values;
  std::int32_t TrackNo = 0;
  std::uint32_t Index00 = 0;
  std::uint32_t Index01 = 0;
  std::uint32_t LastSample = 0;
  QStringList Options;
  TMacroList Macros;
  TID3TagList ID3Tags;
  bool HasIndex00 = false;
  bool HasIndex01 = false;
};

class TCueSheet {
public:
  using MessageHandler = std::function<void(TCueSheet &sheet, int trackNo, int kind,
                                            const QString &name, const QString &value)>;

  // manager is required (TError _err_MakeNoWaveStreamManager otherwise). settings holds the
  // switches of the extension lines; by default the process-wide object.
  explicit TCueSheet(TWaveStreamManager *manager, TSettings *settings = nullptr);
  TCueSheet(const TCueSheet &) = delete;
  TCueSheet &operator=(const TCueSheet &) = delete;

  // Reads the file and fills the model; raises TError with one message on a fatal error (the
  // cause has been reported as kind 0 just before where the message alone does not say it).
  // Called once per object; a failed read leaves a partial model that is not to be used.
  void LoadFromFile(const QString &cueFileName);

  QString GetAlbumValue(const QString &keyword) const { return AlbumValues.Get(keyword); }
  bool HasAlbumValue(const QString &keyword) const { return AlbumValues.Has(keyword); }
  // The file-name part of AudioFileName.
  QString AudioFileTitle() const;

  int Count() const { return static_cast<int>(tracks_.size()); }
  TCueTrack &Items(int index) { return *tracks_.at(index); }
  const TCueTrack &Items(int index) const { return *tracks_.at(index); }

  // The macro and tag views of the album alone, or of one track with its album.
  TMacroScope MacroScope(const TCueTrack *track = nullptr) const;
  TID3TagScope ID3TagScope(const TCueTrack *track = nullptr) const;

  // Sends a report to OnMessage when it is set and the kind is 0 or enabled.
  void Report(int trackNo, int kind, const QString &name, const QString &value = QString());

  QString CueFileName;
  QString AudioFileName;
  TCueValues AlbumValues;
  QStringList AlbumOptions;
  TMacroList AlbumMacros;
  TID3TagList AlbumID3Tags;
  TWaveStreamManager *WaveStreamManager = nullptr;
  TSettings *Config = nullptr;
  MessageHandler OnMessage;
  // Bit k set: kind k (1..4) is passed to OnMessage.
  unsigned MessageKinds = 0;
  bool FileRead = false;

private:
  friend class TCueReader;
  std::vector<std::unique_ptr<TCueTrack>> tracks_;
};
