// The conversion run of one cue sheet: the thread body, the track loop and its notifications.
#include "engine/conproc.h"

#include "coordinator/acclist.h"
#include "crc/crc32.h"
#include "crc/riplog.h"
#include "cuesheet/cuesheet.h"
#include "engine/logtime.h"
#include "engine/stdpipe.h"
#include "engine/wavestream.h"
#include "id3/id3tag.h"
#include "id3/mp3file.h"
#include "id3/tagsettings.h"
#include "macros/quoting.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "naming/buildid3tag.h"
#include "naming/filename.h"
#include "plugins/wavestreammanager.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

TTrackRange TrackRange(const TCueTrack &track) {
  TTrackRange range;
  range.FrameCount = track.LastSample - track.Index01 + 1;
  if (track.TrackNo == 1) {
    range.FrameCount += track.Index01;
  } else {
    range.FirstFrame = track.Index01;
  }
  return range;
}

CopyProcess::CopyProcess(TCueSheet *cueSheet, const TACCList *accList,
                         const TSimpleID3TagList *id3TagList, TLogHandle fileNode,
                         TWaveStreamManager *waveStreamManager, const QString &targetDir,
                         TEngineNotify *receiver)
    : TargetDir(targetDir), CueSheet(cueSheet), FileNode(fileNode),
      WaveStreamManager(waveStreamManager), ID3TagList(id3TagList), ACCList(accList),
      Receiver(receiver) {
  {
    TSettingsReadGuard guard(Settings().Lock());
    if (Settings().CheckCRC) {
      Crc = std::make_unique<TCrc32EAC>();
      const int type = Settings().CRCType;
      Crc->Mode = (type == 1)   ? TCrc32EAC::ModeZeroSkipLR
                  : (type == 2) ? TCrc32EAC::ModeZeroSkipL
                                : TCrc32EAC::ModeNormal;
    }
  }
  start();
}

CopyProcess::~CopyProcess() {
  wait();
}

void CopyProcess::RequestBreak() {
  requestInterruption();
  BreakEvent.Set();
}

void CopyProcess::run() {
  try {
    Execute();
  } catch (...) {
    // Execute handles its own errors; nothing may escape a thread body.
  }
  EndedEvent.Set();
}

void CopyProcess::Execute() {
  Log(0, 0, str::Format(str::_log_s_WaveFileName, {CueSheet->AudioFileTitle()}));
  OpenProgress();
  try {
    bool tagging;
    {
      TSettingsReadGuard guard(Settings().Lock());
      tagging = Settings().UseTagInfo;
    }
    QString tempPath;
    if (tagging) {
      // A directory of our own (mode 0700, unpredictable name), so nobody can plant the file the
      // encoder writes; it goes away with everything in it when the run ends.
      QDir().mkpath(QDir::tempPath());
      tempDir_ =
          std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quarrow-XXXXXX"));
      if (tempDir_->isValid()) {
        tempPath = tempDir_->path() + QDir::separator() +
                   str::Format(QStringLiteral("%u"), {static_cast<unsigned>(gettid())});
      } else {
        tagging = false;
      }
    }
    stream_ = WaveStreamManager->OpenInputStream(CueSheet->AudioFileName);
    if (!stream_) {
      throw TError(str::Format(str::_err_s_WaveStreamNoPlugin, {CueSheet->AudioFileTitle()}));
    }
    for (int i = 0; i < CueSheet->Count(); ++i) {
      if (isInterruptionRequested()) {
        break;
      }
      ConvertTrack(i, tempPath, tagging);
    }
    CheckCRC();
  } catch (const TError &e) {
    Log(0, 0, e.Message);
  } catch (const std::exception &e) {
    Log(0, 0, QString::fromLocal8Bit(e.what()));
  }
  CloseProgress();
  stream_.reset();
  tempDir_.reset();
}

void CopyProcess::ConvertTrack(int index, const QString &tempPath, bool tagging) {
  const int n = index + 1;
  const TCueTrack &track = CueSheet->Items(index);
  const QDateTime trackStart = QDateTime::currentDateTime();
  Log(n, 0, str::Format(str::_log_s_Start, {LogDateTimeText(trackStart)}));
  CurrentTrackIndex = index;
  ShowTrackProgress();

  const QString mp3Path = MakeMP3Path(track);
  const QString fileName = QFileInfo(mp3Path).fileName();
  SetTrackCaption(n, fileName);
  Log(n, 0, str::Format(str::_log_s_MP3FileName, {fileName}));

  const QString outputPath = tagging ? tempPath : mp3Path;
  const std::optional<QString> commandLine = BuildCommandLine(&track, outputPath);
  if (!commandLine) {
    return;
  }
  TEncoderRun run;
  try {
    if (tagging) {
      QFile::remove(tempPath);
    }
    std::optional<int> exitCode = RunEncoder(n, *commandLine, TrackRange(track), run);
    if (exitCode) {
      int exit = *exitCode;
      if (exit == 0 && tagging) {
        TID3TagSettings tagSettings;
        TID3TagBuildSettings buildSettings;
        {
          TSettingsReadGuard guard(Settings().Lock());
          const TSettings &s = Settings();
          tagSettings.TagVerMJ = s.TagVerMJ;
          tagSettings.TagVerMNV23 = s.TagVerMNV23;
          tagSettings.TagVerMNV24 = s.TagVerMNV24;
          tagSettings.TagTextCodeV23 = s.TagTextCodeV23;
          tagSettings.TagTextCodeV24 = s.TagTextCodeV24;
          tagSettings.TagTermNull = s.TagTermNull;
          tagSettings.TagPadSize = s.TagPadSize;
          buildSettings.TagNoEmptyTag = s.TagNoEmptyTag;
        }
        TID3Tag tag(ID3TagOptionsFromSettings(tagSettings));
        BuildID3Tag(ID3TagList, CueSheet->MacroScope(&track), CueSheet->ID3TagScope(&track),
                    buildSettings, tag);
        switch (MakeMP3File(tag, tempPath, mp3Path)) {
        case TMP3FileResult::Tagged:
          LogID3Tag(n, tag);
          break;
        case TMP3FileResult::Untagged:
          Log(n, 0, str::_err_MargeTagToMP3);
          break;
        case TMP3FileResult::Failed:
          Log(n, 0, str::_err_MargeTagToMP3);
          Log(n, 0, str::_err_CreateMP3File);
          exit = -1;
          break;
        }
      } else if (exit != 0 && !tagging) {
        // The encoder wrote straight to the final name: what it left of a failed or broken run
        // must not stand there as if it were a finished MP3 file.
        QFile::remove(mp3Path);
      }
      SetTrackResult(n, exit == 0);
      const QDateTime end = QDateTime::currentDateTime();
      Log(n, 0,
          str::Format(str::_log_sd_End,
                      {LogDateTimeText(end), LogElapsedSeconds(trackStart, end)}));
    }
  } catch (const TError &e) {
    SetTrackResult(n, false);
    Log(n, 0, e.Message);
  } catch (const std::exception &e) {
    SetTrackResult(n, false);
    Log(n, 0, QString::fromLocal8Bit(e.what()));
  }
  if (!StdErrText.isEmpty()) {
    LogEncoderErrors(n);
  }
}

void CopyProcess::CheckCRC() {
  if (!Crc) {
    return;
  }
  const QString mode = Crc->Mode == TCrc32EAC::ModeZeroSkipLR  ? str::_log_CueFileInfoCRCModeZSLR
                       : Crc->Mode == TCrc32EAC::ModeZeroSkipL ? str::_log_CueFileInfoCRCModeZSL
                                                               : str::_log_CueFileInfoCRCModeNORM;
  QString caption;
  {
    TSettingsReadGuard guard(Settings().Lock());
    caption = Settings().CRCCaption;
  }
  std::uint32_t ripCrc = 0;
  const std::uint32_t value = Crc->GetValue();
  QString verdict;
  if (FindRipLogCRC(CueSheet->CueFileName, caption, ripCrc)) {
    verdict = ripCrc == value ? str::_log_CueFileInfoCRC_CheckOK : str::_log_CueFileInfoCRC_CheckNG;
  } else {
    verdict = str::_log_CueFileInfoCRC_CheckUK;
  }
  Log(0, 0, str::Format(str::_log_sds_CueFileInfoCRC_Check, {verdict, value, mode}));
}

QString CopyProcess::MakeMP3Path(const TCueTrack &track) {
  TFileNameSettings names;
  {
    TSettingsReadGuard guard(Settings().Lock());
    names.OutputFileName = Settings().OutputFileName;
    names.CharMap = Settings().CharMap;
    names.AddSuffixOnExistFile = Settings().AddSuffixOnExistFile;
  }
  const QString name = MakeTrackFileName(names.OutputFileName, CueSheet->MacroScope(&track),
                                         track.TrackNo, names.CharMap);
  return ::MakeMP3Path(TargetDir, name, names.AddSuffixOnExistFile);
}

namespace {

// The value of the first "Compression=value" entry of an option list.
std::optional<QString> CompressionOption(const QStringList &options) {
  for (const QString &option : options) {
    const qsizetype eq = option.indexOf(u'=');
    if (eq >= 0 &&
        option.left(eq).trimmed().compare(QLatin1String("Compression"), Qt::CaseInsensitive) == 0) {
      return option.mid(eq + 1);
    }
  }
  return std::nullopt;
}

} // namespace

QString CopyProcess::ChooseEncoderOptions(const TCueTrack &track) {
  const int n = track.TrackNo;
  QString options;
  std::optional<QString> value = CompressionOption(track.Options);
  if (!value) {
    value = CompressionOption(CueSheet->AlbumOptions);
  }
  if (value) {
    int level;
    {
      TSettingsReadGuard guard(Settings().Lock());
      level = TSettings::LevelByName(*value);
      options = Settings().OptionsForLevel(level, true);
    }
    if (!options.isEmpty()) {
      Log(n, 0, str::Format(str::_log_d_CL_ByOption, {level}));
    } else {
      Log(n, 0, str::Format(str::_err_s_UseUndefinedCL, {*value}));
    }
  }
  if (options.isEmpty() && ACCList != nullptr) {
    bool useACC;
    bool matchAsText;
    {
      TSettingsReadGuard guard(Settings().Lock());
      useACC = Settings().UseACC;
      matchAsText = Settings().AccMatchAsText;
    }
    if (useACC) {
      TACCStatus status;
      const int level = ACCList->Evaluate(CueSheet->MacroScope(&track), matchAsText, &status);
      if (level != 0) {
        {
          TSettingsReadGuard guard(Settings().Lock());
          options = Settings().OptionsForLevel(level, true);
        }
        if (!options.isEmpty()) {
          Log(n, 0, str::Format(str::_log_dss_CL_ByACC, {level, status.MacroName, status.Keyword}));
        }
      }
    }
  }
  if (options.isEmpty()) {
    TSettingsReadGuard guard(Settings().Lock());
    options = Settings().CurrentOptions();
  }
  return options;
}

std::optional<QString> CopyProcess::BuildCommandLine(const TCueTrack *track,
                                                     const QString &outputPath) {
  QString lamePath;
  {
    TSettingsReadGuard guard(Settings().Lock());
    lamePath = Settings().LamePath;
  }
  if (lamePath.isEmpty() || !QFileInfo(lamePath).isFile() || track == nullptr ||
      CueSheet == nullptr) {
    return std::nullopt;
  }
  const QString options = ChooseEncoderOptions(*track);
  const QString commandLine =
      str::Format(QStringLiteral("%s %s - %s"),
                  {QuoteCommandArg(lamePath), options, QuoteCommandArg(outputPath)});
  bool logCmdLine;
  {
    TSettingsReadGuard guard(Settings().Lock());
    logCmdLine = Settings().LogCmdLine;
  }
  if (logCmdLine) {
    Log(track->TrackNo, 0, str::Format(str::_log_s_CmdOption, {options}));
  }
  return commandLine;
}

TLogHandle CopyProcess::Log(int trackNo, int category, const QString &text) {
  TLogHandle node = nullptr;
  SendNotify(Receiver, [&] { node = Receiver->AddLog(FileNode, trackNo, category, text); });
  return node;
}

void CopyProcess::SetTrackResult(int trackNo, bool success) {
  SendNotify(Receiver, [&] { Receiver->SetTrackResult(FileNode, trackNo, success); });
}

void CopyProcess::SetTrackCaption(int trackNo, const QString &fileName) {
  if (fileName.isEmpty()) {
    return;
  }
  SendNotify(Receiver, [&] { Receiver->SetTrackCaption(FileNode, trackNo, fileName); });
}

void CopyProcess::LogEncoderErrors(int trackNo) {
  QString text = QString::fromLocal8Bit(StdErrText);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
  SendNotify(Receiver, [&] {
    TLogHandle node = Receiver->AddLog(FileNode, trackNo, 0, str::_log_Lame_StdErr);
    if (node == nullptr) {
      return;
    }
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
      Receiver->AddLogDetail(node, line);
    }
  });
}

void CopyProcess::LogID3Tag(int trackNo, const TID3Tag &tag) {
  if (tag.Count() == 0) {
    return;
  }
  SendNotify(Receiver, [&] {
    TLogHandle node = Receiver->AddLog(FileNode, trackNo, 0,
                                       str::Format(str::_log_d_CreateID3Tag, {tag.Count()}));
    bool logTags;
    {
      TSettingsReadGuard guard(Settings().Lock());
      logTags = Settings().LogID3Tag;
    }
    if (!logTags || node == nullptr) {
      return;
    }
    for (int i = 0; i < tag.Count(); ++i) {
      const TID3TagInfo &frame = tag.Frame(i);
      QString name = frame.ID;
      if (!frame.Description.isEmpty()) {
        name += u'.' + frame.Description;
      }
      Receiver->AddLogDetail(
          node, str::Format(str::_log_css_TagInfo, {frame.Latin1 ? QChar(u'@') : QChar(u' '), name,
                                                    EscapeForDisplay(frame.Text)}));
    }
  });
}

void CopyProcess::OpenProgress() {
  SendNotify(Receiver, [&] { Receiver->OpenProgress(*CueSheet); });
  progressOpen_ = true;
}

void CopyProcess::ShowTrackProgress() {
  const std::uint32_t frames = CueSheet->Items(CurrentTrackIndex).Length();
  SendNotify(Receiver, [&] { Receiver->ShowTrackProgress(CurrentTrackIndex, frames); });
}

void CopyProcess::AdvanceProgress(int frames) {
  if (frames == 0) {
    return;
  }
  SendNotify(Receiver, [&] { Receiver->AdvanceProgress(frames); });
}

void CopyProcess::CloseProgress() {
  if (!progressOpen_) {
    return;
  }
  progressOpen_ = false;
  SendNotify(Receiver, [&] { Receiver->CloseProgress(); });
}
