// TCueSheet::LoadFromFile: the album section, the track sections and the audio length.
#include "cuesheet/cueextension.h"
#include "cuesheet/cuesheet.h"
#include "cuesheet/splitcueline.h"
#include "macros/catalogue.h"
#include "macros/quoting.h"
#include "macros/strtoint.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "platform/textfile.h"
#include "plugins/wavestreammanager.h"
#include "settings/settings.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr std::uint64_t kFramesPerSecond = 44100;
constexpr std::uint64_t kFramesPerCdFrame = 588;

bool is(const QString &token, const char *keyword) {
  return token.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

int toIntOr(const QString &text, int fallback) {
  int value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

// Whether a FILE name carries its own directory: a separator of either kind or a drive.
bool hasDirectoryPart(const QString &name) {
  return name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')) ||
         (name.size() >= 2 && name[1] == QLatin1Char(':') && name[0].isLetter());
}

} // namespace

// The reading state of one LoadFromFile call.
class TCueReader {
public:
  TCueReader(TCueSheet &sheet, const QStringList &lines) : sheet_(sheet), lines_(lines) {}

  void Read();

private:
  enum class Section { Continue, Failed };

  // The album section; the index of the first TRACK line, or -1 when it failed or ran out.
  int ReadAlbum();
  // One track section from its TRACK line; the index of the next TRACK line, or the line count.
  int ReadTrack(int n, int trackLine);
  // An INDEX line of track; false when it fails the track.
  bool ReadIndex(TCueTrack &track, const QStringList &t, int line);
  void ReadAudioLength();

  // Stores one command value of a level; reports duplicates and bad numbers.
  void StoreValue(TCueValues &values, TMacroList &macros, int trackNo, const QString &keyword,
                  const QString &command, const QString &value, const TKeywordEntry &entry,
                  int line);
  void LineError(const QString &message, int trackNo, int line) {
    sheet_.Report(trackNo, cmkError, str::Format(message, {line + 1, lines_[line]}));
  }

  TCueSheet &sheet_;
  QStringList lines_;
  TKeywordTables album_ = BuildKeywordTables(mlAlbum);
  TKeywordTables track_ = BuildKeywordTables(mlTrack);
};

TCueSheet::TCueSheet(TWaveStreamManager *manager, TSettings *settings)
    : WaveStreamManager(manager), Config(settings ? settings : &Settings()) {
  if (!manager)
    throw TError(str::_err_MakeNoWaveStreamManager);
}

QString TCueSheet::AudioFileTitle() const {
  return QFileInfo(AudioFileName).fileName();
}

TMacroScope TCueSheet::MacroScope(const TCueTrack *track) const {
  return TMacroScope{&AlbumMacros, track ? &track->Macros : nullptr};
}

TID3TagScope TCueSheet::ID3TagScope(const TCueTrack *track) const {
  return TID3TagScope{&AlbumID3Tags, track ? &track->ID3Tags : nullptr};
}

void TCueSheet::Report(int trackNo, int kind, const QString &name, const QString &value) {
  if (!OnMessage)
    return;
  if (kind != cmkError && !(kind >= 1 && kind <= 4 && (MessageKinds & (1u << kind))))
    return;
  OnMessage(*this, trackNo, kind, name, value);
}

void TCueSheet::LoadFromFile(const QString &cueFileName) {
  CueFileName = cueFileName;
  QStringList lines;
  if (!LoadTextFileLines(cueFileName, lines))
    throw TError(str::_err_CueFileInvalidHeaderInfo);
  for (QString &line : lines)
    line = TrimBlanks(line);
  TCueReader(*this, lines).Read();
}

void TCueReader::Read() {
  int line = ReadAlbum();
  if (line < 0)
    throw TError(str::_err_CueFileInvalidHeaderInfo);
  for (int n = 1; line < lines_.size(); ++n)
    line = ReadTrack(n, line);
  sheet_.AlbumMacros.SetNumber(QStringLiteral("Tracks"), sheet_.Count(), true);
  ReadAudioLength();
}

int TCueReader::ReadAlbum() {
  for (const TSystemMacro &m : ListSystemMacros(mlAlbum))
    sheet_.AlbumMacros.AddSystem(m.Name, m.Type);
  for (int i = 0; i < lines_.size(); ++i) {
    const QString &text = lines_[i];
    if (text.isEmpty())
      continue;
    const QStringList t = SplitCueLine(text);
    if (is(t[0], "TRACK")) {
      if (sheet_.FileRead)
        return i;
      sheet_.Report(0, cmkError, str::_err_NoWaveFileSpecification);
      return -1;
    }
    if (const TKeywordEntry *e = album_.Standard.Find(t[0])) {
      if (t.size() != 2) {
        LineError(str::_err_ds_SyntaxError, 0, i);
        continue;
      }
      StoreValue(sheet_.AlbumValues, sheet_.AlbumMacros, 0, t[0], t[0], t[1], *e, i);
    } else if (is(t[0], "REM") && t.size() >= 3) {
      if (const TKeywordEntry *e = album_.Rem.Find(t[1])) {
        if (t.size() != 3) {
          LineError(str::_err_ds_SyntaxError, 0, i);
          continue;
        }
        StoreValue(sheet_.AlbumValues, sheet_.AlbumMacros, 0, t[1], QStringLiteral("REM ") + t[1],
                   t[2], *e, i);
      } else {
        DispatchExtensionLine(sheet_, text, t[1], nullptr, i);
      }
    } else if (is(t[0], "FILE")) {
      if (sheet_.FileRead) {
        LineError(str::_err_ds_DuplicateDef, 0, i);
        return -1;
      }
      if (t.size() != 3) {
        LineError(str::_err_ds_SyntaxError, 0, i);
        return -1;
      }
      if (!is(t[2], "WAVE"))
        return -1;
      sheet_.FileRead = true;
      // Names written on Windows use '\'. A name with a directory part is taken relative to
      // the cue sheet's directory unless it is absolute, so the same sheet reads the same
      // audio from wherever the program is started.
      QString name = t[1];
      name.replace(QLatin1Char('\\'), QLatin1Char('/'));
      const QString cueDir = QFileInfo(sheet_.CueFileName).path();
      sheet_.AudioFileName =
          hasDirectoryPart(t[1]) && QDir::isAbsolutePath(name) ? name : QDir(cueDir).filePath(name);
      if (!QFileInfo(sheet_.AudioFileName).isFile()) {
        sheet_.Report(0, cmkError, str::Format(str::_err_s_NoCUEFile, {t[1]}));
        return -1;
      }
      sheet_.Report(0, cmkCueSentence, QStringLiteral("FILE"), t[1]);
    }
  }
  return -1;
}

int TCueReader::ReadTrack(int n, int trackLine) {
  auto owned = std::make_unique<TCueTrack>();
  TCueTrack &track = *owned;
  sheet_.tracks_.push_back(std::move(owned));
  for (const TSystemMacro &m : ListSystemMacros(mlTrack))
    track.Macros.AddSystem(m.Name, m.Type);
  for (const auto &[name, info] : ListPriorityMacros())
    track.Macros.AddPriority(name, info.Type, info.TrackMacro, info.AlbumMacro);
  track.Macros.SetNumber(QStringLiteral("TrackNo"), n, true);
  track.TrackNo = n;

  const QStringList head = SplitCueLine(lines_[trackLine]);
  if (head.size() != 3 || !is(head[0], "TRACK") || !is(head[2], "AUDIO") ||
      toIntOr(head[1], 0) != n)
    throw TError(str::_err_CueFileInvalidTrackNo);

  bool failed = false;
  int i = trackLine + 1;
  for (; i < lines_.size() && !failed; ++i) {
    const QString &text = lines_[i];
    if (text.isEmpty())
      continue;
    const QStringList t = SplitCueLine(text);
    if (is(t[0], "TRACK"))
      break;
    if (const TKeywordEntry *e = track_.Standard.Find(t[0])) {
      if (t.size() != 2) {
        LineError(str::_err_ds_SyntaxError, n, i);
        continue;
      }
      StoreValue(track.Values, track.Macros, n, t[0], t[0], t[1], *e, i);
    } else if (is(t[0], "REM") && t.size() >= 3) {
      if (const TKeywordEntry *e = track_.Rem.Find(t[1])) {
        if (t.size() != 3) {
          LineError(str::_err_ds_SyntaxError, n, i);
          continue;
        }
        StoreValue(track.Values, track.Macros, n, t[1], QStringLiteral("REM ") + t[1], t[2], *e, i);
      } else {
        DispatchExtensionLine(sheet_, text, t[1], &track, i);
      }
    } else if (is(t[0], "INDEX")) {
      failed = !ReadIndex(track, t, i);
    }
  }
  if (failed)
    throw TError(str::Format(str::_err_d_CueFileInvalidTrackInfo, {n}));

  // Closing the track, at the next TRACK line or at the end of the lines.
  if (!track.HasIndex00)
    track.Index00 = track.Index01;
  bool valid = track.HasValue(QStringLiteral("TITLE")) && track.Index00 <= track.Index01;
  if (valid && n >= 2)
    valid = sheet_.Items(n - 2).Index01 < track.Index00;
  if (valid && i < lines_.size() && i == lines_.size() - 1)
    valid = false;
  if (!valid)
    throw TError(str::Format(str::_err_d_CueFileInvalidTrackInfo, {n}));
  return i;
}

bool TCueReader::ReadIndex(TCueTrack &track, const QStringList &t, int line) {
  const int n = track.TrackNo;
  if (t.size() != 3) {
    LineError(str::_err_ds_SyntaxError, n, line);
    return false;
  }
  const int number = toIntOr(t[1], -1);
  if (number != 0 && number != 1)
    return true;
  bool &has = number == 0 ? track.HasIndex00 : track.HasIndex01;
  if (has) {
    LineError(str::_err_ds_DuplicateDef, n, line);
    return false;
  }
  const QStringList parts = SplitCueLine(t[2], QLatin1Char(':'));
  if (parts.size() != 3) {
    LineError(str::_err_ds_SyntaxError, n, line);
    return false;
  }
  const int mm = toIntOr(parts[0], -1);
  const int ss = toIntOr(parts[1], -1);
  const int ff = toIntOr(parts[2], -1);
  const std::uint64_t position =
      (static_cast<std::uint64_t>(mm < 0 ? 0 : mm) * 60 + static_cast<std::uint64_t>(ss)) *
          kFramesPerSecond +
      static_cast<std::uint64_t>(ff) * kFramesPerCdFrame;
  // A position past what 32 bits hold would wrap to a wrong place in the audio.
  if (mm < 0 || ss < 0 || ss > 59 || ff < 0 || ff > 149 || position > UINT32_MAX) {
    LineError(str::_err_ds_InvalidIndexAddress, n, line);
    return false;
  }
  (number == 0 ? track.Index00 : track.Index01) = static_cast<std::uint32_t>(position);
  has = true;
  return true;
}

void TCueReader::StoreValue(TCueValues &values, TMacroList &macros, int trackNo,
                            const QString &keyword, const QString &command, const QString &value,
                            const TKeywordEntry &entry, int line) {
  if (values.Has(keyword)) {
    LineError(str::_err_ds_DuplicateDef, trackNo, line);
    return;
  }
  if (entry.Type == mtNumber) {
    int number = 0;
    if (!TryStrToInt(value, number)) {
      LineError(str::_err_ds_InvalidNumValue, trackNo, line);
      return;
    }
    macros.SetNumber(entry.MacroName, number, true);
  } else {
    macros.SetText(entry.MacroName, value, true);
  }
  values.Add(keyword, value);
  sheet_.Report(trackNo, cmkCueSentence, command, value);
}

void TCueReader::ReadAudioLength() {
  std::unique_ptr<TWaveInputStream> stream =
      sheet_.WaveStreamManager->OpenInputStream(sheet_.AudioFileName);
  if (!stream)
    throw TError(str::_err_NoWaveFilePlugin);
  const int sampleCount = stream->SampleCount;
  stream.reset();
  const int count = sheet_.Count();
  TCueTrack &last = sheet_.Items(count - 1);
  // Audio that ends before the last track starts (or whose length the plug-in cannot tell)
  // would give that track a negative length.
  if (sampleCount <= 0 || static_cast<std::uint32_t>(sampleCount) <= last.Index01)
    throw TError(str::Format(str::_err_d_CueFileInvalidTrackInfo, {count}));
  last.LastSample = static_cast<std::uint32_t>(sampleCount) - 1;
  for (int k = count - 2; k >= 0; --k)
    sheet_.Items(k).LastSample = sheet_.Items(k + 1).Index01 - 1;
}
