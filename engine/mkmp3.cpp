// The batch thread's body and the conversion of one cue sheet.
#include "engine/mkmp3.h"

#include "coordinator/acclist.h"
#include "cuesheet/cuesheet.h"
#include "engine/conproc.h"
#include "engine/logtime.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "naming/globaltaglist.h"
#include "naming/outputdir.h"
#include "settings/settings.h"

#include <QDir>
#include <QFileInfo>

TMakeMP3::TMakeMP3(TWaveStreamManager *waveStreamManager, TEngineNotify *receiver)
    : WaveStreamManager(waveStreamManager), Receiver(receiver) {
  if (WaveStreamManager == nullptr) {
    throw TError(str::_err_MakeNoWaveStreamManager);
  }
  connect(this, &QThread::finished, this, &QObject::deleteLater);
}

TMakeMP3::~TMakeMP3() {
  wait();
}

void TMakeMP3::RequestBreak() {
  requestInterruption();
  BreakEvent.Set();
}

void TMakeMP3::run() {
  try {
    Execute();
  } catch (const TError &e) {
    SendNotify(Receiver, [&] { Receiver->ShowEngineError(e.Message); });
  } catch (const std::exception &e) {
    const QString message = QString::fromLocal8Bit(e.what());
    SendNotify(Receiver, [&] { Receiver->ShowEngineError(message); });
  }
}

void TMakeMP3::Execute() {
  if (Files.isEmpty()) {
    throw TError(str::_err_MakeNoFile);
  }
  if (!QFileInfo(InputHomeDir).isDir()) {
    throw TError(str::Format(str::_err_s_MakeNoHomeDir, {InputHomeDir}));
  }
  if (!QFileInfo(OutputHomeDir).isDir()) {
    throw TError(str::Format(str::_err_s_MakeNoOutputHomeDir, {OutputHomeDir}));
  }
  BuildID3TagList();
  BuildACCList();
  QString outputHome = OutputHomeDir;
  while (outputHome.size() > 1 && (outputHome.endsWith(u'/') || outputHome.endsWith(u'\\'))) {
    outputHome.chop(1);
  }
  const QString inputHome =
      InputHomeDir.endsWith(QDir::separator()) ? InputHomeDir : InputHomeDir + QDir::separator();
  for (const TMakeMP3File &file : Files) {
    if (isInterruptionRequested()) {
      break;
    }
    CurrentFileNode = file.Node;
    const QString relativeDir = QFileInfo(file.RelativePath).path() == QLatin1String(".")
                                    ? QString()
                                    : QFileInfo(file.RelativePath).path();
    const QString cuePath = inputHome + file.RelativePath;
    if (!QFileInfo(cuePath).isFile()) {
      SetFileState(FileStateMissing);
      continue;
    }
    SetFileState(FileStateConverting);
    try {
      ConvertCueSheet(cuePath, outputHome, relativeDir);
      SetFileState(FileStateConverted);
    } catch (const std::exception &e) {
      const TError *error = dynamic_cast<const TError *>(&e);
      AddLog(0, 0, error ? error->Message : QString::fromLocal8Bit(e.what()));
      const QDateTime end = QDateTime::currentDateTime();
      AddLog(
          0, 0,
          str::Format(str::_log_sd_End, {LogDateTimeText(end), LogElapsedSeconds(StartTime, end)}));
      SetFileState(FileStateError);
    }
  }
}

void TMakeMP3::ConvertCueSheet(const QString &cuePath, const QString &outputHome,
                               const QString &relativeDir) {
  if (isInterruptionRequested()) {
    return;
  }
  StartTime = QDateTime::currentDateTime();
  AddLog(0, 0, str::Format(str::_log_s_Start, {LogDateTimeText(StartTime)}));
  AddLog(0, 0, str::Format(str::_log_s_OutputHomeDirectory, {outputHome}));

  TCueSheet sheet(WaveStreamManager);
  sheet.OnMessage = [this](TCueSheet &sender, int trackNo, int kind, const QString &name,
                           const QString &value) {
    HandleCueMessage(sender, trackNo, kind, name, value);
  };
  TDirNameSettings dirSettings;
  bool addSuffix;
  {
    TSettingsReadGuard guard(Settings().Lock());
    const TSettings &s = Settings();
    sheet.MessageKinds = (s.LogCueSentence ? 1u << 1 : 0u) | (s.LogCueMacroDef ? 1u << 2 : 0u) |
                         (s.LogCueID3TagDef ? 1u << 3 : 0u) | (s.LogCueOptionDef ? 1u << 4 : 0u);
    dirSettings.OutputMP3DirSelection = s.OutputMP3DirSelection;
    dirSettings.OutputMP3DirName = s.OutputMP3DirName;
    dirSettings.MP3DirNameReplace = s.MP3DirNameReplace;
    dirSettings.DirNameReplaceInfo = s.DirNameReplaceInfo;
    addSuffix = s.AddSuffixOnExistDir;
  }
  sheet.LoadFromFile(cuePath);

  const QString dirName = MakeOutputDirName(relativeDir, sheet.MacroScope(), dirSettings);
  AddLog(0, 0, str::Format(str::_log_s_OutputDirectory, {dirName}));
  const TOutputDir outDir = MakeOutputDir(outputHome, dirName, addSuffix);
  if (outDir.Created) {
    AddLog(0, 0, str::Format(str::_log_s_CreateDirectory, {outDir.Path}));
  }

  {
    CopyProcess copy(&sheet, ACCList.get(), ID3TagList.get(), CurrentFileNode, WaveStreamManager,
                     outDir.Path, Receiver);
    if (WaitForAny({copy.EndedEvent, BreakEvent}) != 0) {
      copy.RequestBreak();
    }
    copy.wait();
  }
  const QDateTime end = QDateTime::currentDateTime();
  AddLog(0, 0,
         str::Format(str::_log_sd_End, {LogDateTimeText(end), LogElapsedSeconds(StartTime, end)}));
}

void TMakeMP3::HandleCueMessage(TCueSheet &, int trackNo, int kind, const QString &name,
                                const QString &value) {
  if (kind >= 1 && kind <= 4) {
    AddLog(trackNo, kind + 1, str::Format(QStringLiteral("%s : %s"), {name, value}));
  } else {
    AddLog(trackNo, 0, name);
  }
}

void TMakeMP3::BuildID3TagList() {
  TSettingsReadGuard guard(Settings().Lock());
  TTagListSettings tagSettings;
  tagSettings.UseTagInfo = Settings().UseTagInfo;
  tagSettings.TagList = Settings().TagList;
  ID3TagList = ::BuildID3TagList(tagSettings);
}

void TMakeMP3::BuildACCList() {
  TSettingsReadGuard guard(Settings().Lock());
  if (!Settings().UseACC || Settings().ACCInfo.isEmpty()) {
    ACCList.reset();
    return;
  }
  ACCList = ::BuildACCList(Settings().ACCInfo,
                           [](int level) { return Settings().LevelCodeOf(level) >= 0; });
}

void TMakeMP3::AddLog(int trackNo, int category, const QString &text) {
  SendNotify(Receiver, [&] { Receiver->AddLog(CurrentFileNode, trackNo, category, text); });
}

void TMakeMP3::SetFileState(int state) {
  SendNotify(Receiver, [&] { Receiver->SetFileState(CurrentFileNode, state); });
}
