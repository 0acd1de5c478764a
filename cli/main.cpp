// quarrow-cli: converts the cue sheets that /D or /F names with the same engine as the main
// window, printing the log as it grows. Ctrl-C breaks the run the way the break command does.
#include "cli/clioptions.h"
#include "cli/clireceiver.h"
#include "cli/clirun.h"
#include "engine/mkmp3.h"
#include "macros/catalogue.h"
#include "messages/error.h"
#include "messages/str.h"
#include "platform/osversion.h"
#include "platform/process.h"
#include "plugins/wavestreammanager.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int breakPipe[2] = {-1, -1};

void OnInterrupt(int) {
  const char byte = 1;
  (void)!write(breakPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  IgnoreSigPipe();
  TCliReceiver receiver(stdout, stderr);

  TCliOptions options;
  QString error;
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  if (!ParseCliOptions(args, options, error)) {
    receiver.PrintError(error);
    std::fprintf(stderr, "%s\n", str::_msg_CliUsage.toUtf8().constData());
    return CliExitSetup;
  }
  if (options.Help) {
    std::fprintf(stdout, "%s\n", str::_msg_CliUsage.toUtf8().constData());
    return CliExitOK;
  }
  try {
    CheckSupportedOS();
    CheckSystemMacroTables();
  } catch (const TError &e) {
    receiver.PrintError(e.Message);
    return CliExitSetup;
  }

  TWaveStreamManager manager;
  TCliRun run(options, receiver, manager);
  if (!run.Prepare()) {
    return CliExitSetup;
  }

  if (pipe2(breakPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    return CliExitSetup;
  }
  QSocketNotifier breakNotifier(breakPipe[0], QSocketNotifier::Read);
  QObject::connect(&breakNotifier, &QSocketNotifier::activated, [&] {
    char bytes[16];
    while (read(breakPipe[0], bytes, sizeof bytes) > 0) {
    }
    run.RequestBreak();
  });
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  int exitCode = CliExitFailed;
  QTimer::singleShot(0, [&] {
    run.Start(&app, [&](int code) {
      exitCode = code;
      app.quit();
    });
  });
  app.exec();
  return exitCode;
}
