// The encoder run of one track: three pipes, the child process, the feeder and the two readers,
// the wait for the encoder's end or a break, and the closing order that lets everything end.
#include "engine/conproc.h"

#include "crc/crc32.h"
#include "engine/stdpipe.h"
#include "engine/wavestream.h"
#include "messages/error.h"
#include "messages/format.h"
#include "messages/str.h"
#include "platform/pipe.h"

namespace {

enum : int {
  StdInRead = 0,
  StdInWrite = 1,
  StdOutRead = 2,
  StdOutWrite = 3,
  StdErrRead = 4,
  StdErrWrite = 5
};

// The reader threads ask this many bytes per read.
constexpr int kPipeReadBytes = 2048;

} // namespace

CopyProcess::TEncoderRun::~TEncoderRun() {
  // The parent's copies of the child's ends go first, so that the threads can see the ends of
  // their pipes once the encoder is gone.
  CloseHandle(Handles[StdInRead]);
  CloseHandle(Handles[StdOutWrite]);
  CloseHandle(Handles[StdErrWrite]);
  StdErrReader.reset();
  StdOutReader.reset();
  Feeder.reset();
  for (int &handle : Handles) {
    CloseHandle(handle);
  }
  CloseProcess(Process);
}

bool CopyProcess::StartEncoder(const QString &commandLine, int trackNo, TEncoderRun &run) {
  try {
    IgnoreSigPipe();
    const QString *failures[3] = {&str::_err_CreateStdInPipe, &str::_err_CreateStdOutPipe,
                                  &str::_err_CreateStdErrPipe};
    for (int pipe = 0; pipe < 3; ++pipe) {
      TPipeEnds ends;
      if (!CreatePipe(ends)) {
        throw TError(*failures[pipe]);
      }
      run.Handles[2 * pipe] = ends.Read;
      run.Handles[2 * pipe + 1] = ends.Write;
    }
    if (SpawnProcess(SplitCommandLine(commandLine), run.Handles[StdInRead],
                     run.Handles[StdOutWrite], run.Handles[StdErrWrite], run.Process)) {
      return true;
    }
  } catch (const TError &e) {
    Log(trackNo, 0, e.Message);
  }
  for (int &handle : run.Handles) {
    CloseHandle(handle);
  }
  return false;
}

void CopyProcess::AppendEncoderOutput(const char *bytes, int count) {
  StdErrText.append(bytes, count);
}

std::optional<int> CopyProcess::RunEncoder(int trackNo, const QString &commandLine,
                                           const TTrackRange &range, TEncoderRun &run) {
  StdErrText.clear();
  if (!StartEncoder(commandLine, trackNo, run)) {
    return std::nullopt;
  }
  run.Feeder = std::make_unique<TWaveStreamWriteThread>(
      run.Handles[StdInWrite], stream_.get(), static_cast<int>(range.FirstFrame),
      static_cast<int>(range.FrameCount), Crc.get(),
      [this](TWaveStreamWriteThread &, int frames) { AdvanceProgress(frames); });
  run.Handles[StdInWrite] = -1;
  run.Feeder->StartedEvent.Wait();

  run.StdOutReader = std::make_unique<TStdPipe>(run.Handles[StdOutRead], nullptr, kPipeReadBytes);
  run.Handles[StdOutRead] = -1;
  run.StdOutReader->StartedEvent.Wait();

  run.StdErrReader = std::make_unique<TStdPipe>(
      run.Handles[StdErrRead],
      [this](TStdPipe &, const char *bytes, int count) { AppendEncoderOutput(bytes, count); },
      kPipeReadBytes);
  run.Handles[StdErrRead] = -1;
  run.StdErrReader->StartedEvent.Wait();

  int exitCode = -1;
  switch (WaitForAny({TWaitItem(run.Process.PidFd), BreakEvent})) {
  case 0:
    if (!WaitProcessExit(run.Process, exitCode)) {
      exitCode = -1;
      Log(trackNo, 0, str::Format(str::_err_s_LameCmdErr, {commandLine}));
    } else if (exitCode != 0) {
      Log(trackNo, 0, str::_err_NoCreateMP3);
    }
    break;
  case 1: {
    // The feeder stops after its current block and closes the encoder's input; the encoder then
    // finishes by itself and is never killed.
    run.Feeder->requestInterruption();
    run.Feeder->wait();
    int ignored;
    WaitProcessExit(run.Process, ignored);
    exitCode = -1;
    Log(trackNo, 0, str::_log_Breaked);
    break;
  }
  default:
    exitCode = -1;
    requestInterruption();
    Log(trackNo, 0, str::_err_ProcessSync);
    break;
  }

  CloseProcess(run.Process);
  CloseHandle(run.Handles[StdOutWrite]);
  run.StdOutReader->wait();
  CloseHandle(run.Handles[StdErrWrite]);
  run.StdErrReader->wait();
  CloseHandle(run.Handles[StdInRead]);
  run.Feeder->wait();

  if (run.Feeder->Result() != 0 && exitCode == 0) {
    exitCode = -1;
    Log(trackNo, 0, str::_err_NoCreateMP3);
  }
  return exitCode;
}
