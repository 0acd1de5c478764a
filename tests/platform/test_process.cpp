// Child processes: the command line rule, the three inherited descriptors, exit codes, a
// program that does not exist, and writing to a child that has gone.
#include "platform/event.h"
#include "platform/pipe.h"
#include "platform/process.h"

#include <QString>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

struct TChildRun {
  int ExitCode = -1;
  std::string Out;
};

// Runs argv with stdin from an empty pipe and stdout collected.
TChildRun RunChild(const QStringList &argv) {
  TPipeEnds in, out, err;
  EXPECT_TRUE(CreatePipe(in) && CreatePipe(out) && CreatePipe(err));
  TProcess p;
  TChildRun r;
  const bool started = SpawnProcess(argv, in.Read, out.Write, err.Write, p);
  CloseHandle(in.Read);
  CloseHandle(in.Write);
  CloseHandle(out.Write);
  CloseHandle(err.Write);
  if (started) {
    char buf[256];
    std::int64_t n;
    while ((n = ReadPipe(out.Read, buf, sizeof buf)) > 0) {
      r.Out.append(buf, static_cast<size_t>(n));
    }
    EXPECT_EQ(WaitForAny({TWaitItem(p.PidFd)}), 0);
    EXPECT_TRUE(WaitProcessExit(p, r.ExitCode));
    CloseProcess(p);
  } else {
    r.ExitCode = -2;
  }
  CloseHandle(out.Read);
  CloseHandle(err.Read);
  return r;
}

} // namespace

TEST(CommandLine, SplitUndoesQuoting) {
  struct Case {
    QString line;
    QStringList words;
  } cases[] = {
      {QStringLiteral("\"/usr/bin/lame\" -b 192 -h - \"/tmp/a b.mp3\""),
       {"/usr/bin/lame", "-b", "192", "-h", "-", "/tmp/a b.mp3"}},
      {QStringLiteral("  a\t b  "), {"a", "b"}},
      {QStringLiteral("\"say \"\"hi\"\"\" x"), {"say \"hi\"", "x"}},
      {QStringLiteral("\"\""), {""}},
      {QStringLiteral("pre\"fix mid\"post"), {"prefix midpost"}},
      {QStringLiteral("--tt \"unterminated"), {"--tt", "unterminated"}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line.toStdString();
  }
  for (const QString &text : {QStringLiteral("a \"quoted\" name"), QStringLiteral("日本語 曲.mp3"),
                              QStringLiteral(""), QStringLiteral("\"\"")}) {
    EXPECT_EQ(QuoteCommandArg(text), QStringLiteral("\"") +
                                         QString(text).replace(u'"', QStringLiteral("\"\"")) +
                                         QStringLiteral("\""));
    EXPECT_EQ(SplitCommandLine(QuoteCommandArg(text)), QStringList{text});
  }
}

TEST(Process, ChildHoldsExactlyItsThreeDescriptors) {
  // A descriptor of ours without close-on-exec must not reach the child either.
  const int leaked = open("/dev/null", O_RDONLY);
  ASSERT_GE(leaked, 0);
  // The listing's own directory descriptor is gone by the time the loop tests it.
  const TChildRun r = RunChild(
      {"/bin/sh", "-c", "for f in /proc/$$/fd/*; do [ -e $f ] && echo ${f##*/}; done; true"});
  close(leaked);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "0\n1\n2\n");
}

TEST(Process, ExitCodesSignalsAndMissingPrograms) {
  EXPECT_EQ(RunChild({"/bin/sh", "-c", "exit 2"}).ExitCode, 2);
  EXPECT_EQ(RunChild({"/bin/sh", "-c", "kill -9 $$"}).ExitCode, 128 + 9);
  EXPECT_EQ(RunChild({"/nonexistent/encoder", "-"}).ExitCode, -2);
  EXPECT_EQ(RunChild({"relative-name-not-searched"}).ExitCode, -2);
  EXPECT_EQ(RunChild({}).ExitCode, -2);
}

TEST(Process, WritingToAnEndedChildFailsInsteadOfKillingUs) {
  IgnoreSigPipe();
  TPipeEnds in;
  ASSERT_TRUE(CreatePipe(in));
  TProcess p;
  ASSERT_TRUE(SpawnProcess({"/bin/true"}, in.Read, 1, 2, p));
  CloseHandle(in.Read);
  int code = -1;
  ASSERT_TRUE(WaitProcessExit(p, code));
  CloseProcess(p);
  std::string block(1 << 20, 'x');
  EXPECT_LT(WritePipe(in.Write, block.data(), block.size()),
            static_cast<std::int64_t>(block.size()));
  CloseHandle(in.Write);
}

TEST(Process, EventAndProcessEndCanBeAwaitedTogether) {
  TPipeEnds in;
  ASSERT_TRUE(CreatePipe(in));
  TProcess p;
  // cat ends only when its input closes: the break event must win the wait.
  ASSERT_TRUE(SpawnProcess({"/bin/cat"}, in.Read, open("/dev/null", O_WRONLY | O_CLOEXEC), 2, p));
  CloseHandle(in.Read);
  TEvent breakEvent(TEvent::ManualReset, true);
  EXPECT_EQ(WaitForAny({TWaitItem(p.PidFd), breakEvent}), 1);
  CloseHandle(in.Write);
  EXPECT_EQ(WaitForAny({TWaitItem(p.PidFd)}), 0);
  int code = -1;
  EXPECT_TRUE(WaitProcessExit(p, code));
  EXPECT_EQ(code, 0);
  CloseProcess(p);
}
