// posix_spawn with dup2 file actions and closefrom, pidfd_open for the end of the child.
#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <mutex>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

QString QuoteCommandArg(const QString &text) {
  QString result = QStringLiteral("\"");
  for (QChar c : text) {
    if (c == u'"') {
      result += u'"';
    }
    result += c;
  }
  result += u'"';
  return result;
}

QStringList SplitCommandLine(const QString &commandLine) {
  QStringList words;
  QString word;
  bool inWord = false;
  bool quoted = false;
  for (qsizetype i = 0; i < commandLine.size(); ++i) {
    const QChar c = commandLine.at(i);
    if (quoted) {
      if (c == u'"') {
        if (i + 1 < commandLine.size() && commandLine.at(i + 1) == u'"') {
          word += u'"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        word += c;
      }
    } else if (c == u' ' || c == u'\t') {
      if (inWord) {
        words.append(word);
        word.clear();
        inWord = false;
      }
    } else if (c == u'"') {
      quoted = true;
      inWord = true;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) {
    words.append(word);
  }
  return words;
}

namespace {

class TSpawnActions {
public:
  TSpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~TSpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  posix_spawn_file_actions_t actions_;
};

class TSpawnAttr {
public:
  TSpawnAttr() { posix_spawnattr_init(&attr_); }
  ~TSpawnAttr() { posix_spawnattr_destroy(&attr_); }
  posix_spawnattr_t attr_;
};

} // namespace

bool SpawnProcess(const QStringList &argv, int stdinFd, int stdoutFd, int stderrFd,
                  TProcess &process) {
  if (argv.isEmpty() || argv.first().isEmpty()) {
    return false;
  }
  std::vector<QByteArray> bytes;
  for (const QString &arg : argv) {
    bytes.push_back(arg.toUtf8());
  }
  std::vector<char *> args;
  for (QByteArray &b : bytes) {
    args.push_back(b.data());
  }
  args.push_back(nullptr);

  TSpawnActions actions;
  posix_spawn_file_actions_adddup2(&actions.actions_, stdinFd, 0);
  posix_spawn_file_actions_adddup2(&actions.actions_, stdoutFd, 1);
  posix_spawn_file_actions_adddup2(&actions.actions_, stderrFd, 2);
  // Descriptors that a library opened without close-on-exec must not reach the child either.
  posix_spawn_file_actions_addclosefrom_np(&actions.actions_, 3);

  TSpawnAttr attr;
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attr.attr_, &defaults);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attr.attr_, &none);
  posix_spawnattr_setflags(&attr.attr_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions.actions_, &attr.attr_, args.data(), environ) != 0) {
    return false;
  }
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (pidfd < 0) {
    // Without a pidfd nobody could wait for the process together with a break; reap it.
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return false;
  }
  process.Pid = pid;
  process.PidFd = pidfd;
  return true;
}

bool WaitProcessExit(TProcess &process, int &exitCode) {
  if (process.Pid <= 0) {
    return false;
  }
  int status = 0;
  pid_t r;
  while ((r = waitpid(process.Pid, &status, 0)) < 0 && errno == EINTR) {
  }
  process.Pid = -1;
  if (r < 0) {
    return false;
  }
  if (WIFEXITED(status)) {
    exitCode = WEXITSTATUS(status);
    return true;
  }
  if (WIFSIGNALED(status)) {
    exitCode = 128 + WTERMSIG(status);
    return true;
  }
  return false;
}

void CloseProcess(TProcess &process) {
  if (process.Pid > 0) {
    int code;
    WaitProcessExit(process, code);
  }
  if (process.PidFd >= 0) {
    close(process.PidFd);
    process.PidFd = -1;
  }
}

void IgnoreSigPipe() {
  static std::once_flag once;
  std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}
