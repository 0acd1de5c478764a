// Child processes: the command line split into arguments by the rule that quotes them, the start
// through posix_spawn with exactly three inherited descriptors, and the wait for the end through
// a pidfd so that it can be combined with an event.
#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

// The text as one word of a command line: a double quote before and after it, every double
// quote inside doubled.
QString QuoteCommandArg(const QString &text);

// The words of a command line: blanks and tabs separate words outside quotes; a double quote
// opens or closes a quoted part of a word; two double quotes inside a quoted part stand for one
// double quote character. QuoteCommandArg's output is one word that gives back its input.
QStringList SplitCommandLine(const QString &commandLine);

struct TProcess {
  pid_t Pid = -1;
  int PidFd = -1; // readable once the process has ended
};

// Starts the program argv[0] (a path, the search path is not used) with argv, the parent's
// environment and working directory, and the three descriptors as its standard input, output
// and error; it inherits no other descriptor, and SIGPIPE has its default action in it. False
// when the program cannot be started (it does not exist, is not executable, ...).
bool SpawnProcess(const QStringList &argv, int stdinFd, int stdoutFd, int stderrFd,
                  TProcess &process);

// Blocks until the process has ended and reaps it. exitCode: its exit status, or 128 + the signal
// that killed it. False when the status cannot be had.
bool WaitProcessExit(TProcess &process, int &exitCode);

// Releases the pidfd. A process that was not reaped is reaped first (blocking).
void CloseProcess(TProcess &process);

// SIGPIPE ignored for the whole program, so that writing into the pipe of an encoder that has
// ended gives an error instead of killing the program. Idempotent.
void IgnoreSigPipe();
