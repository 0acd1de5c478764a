// The pipe readers: every byte handed over in order, the handle closed at the end.
#include "engine/stdpipe.h"
#include "messages/error.h"
#include "platform/pipe.h"

#include <QByteArray>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(StdPipe, HandsOverEveryByteAndClosesItsEnd) {
  TPipeEnds ends;
  ASSERT_TRUE(CreatePipe(ends));
  QByteArray got;
  int calls = 0;
  const int readEnd = ends.Read;
  {
    TStdPipe reader(
        ends.Read,
        [&](TStdPipe &, const char *bytes, int count) {
          got.append(bytes, count);
          ++calls;
        },
        0);
    reader.StartedEvent.Wait();
    QByteArray sent;
    for (int i = 0; i < 5000; ++i) {
      sent.append(static_cast<char>(i * 31));
    }
    ASSERT_EQ(WritePipe(ends.Write, sent.constData(), sent.size()), sent.size());
    CloseHandle(ends.Write);
    reader.wait();
    EXPECT_EQ(reader.Result(), 0);
    EXPECT_EQ(got, sent);
    EXPECT_GE(calls, 3); // 2048 bytes at most per read
  }
  EXPECT_EQ(fcntl(readEnd, F_GETFD), -1);
}

TEST(StdPipe, EmptyPipeGivesNoData) {
  TPipeEnds ends;
  ASSERT_TRUE(CreatePipe(ends));
  int calls = 0;
  TStdPipe reader(
      ends.Read, [&](TStdPipe &, const char *, int) { ++calls; }, 2048);
  reader.StartedEvent.Wait();
  CloseHandle(ends.Write);
  reader.wait();
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(reader.Result(), 0);
}

TEST(StdPipe, MissingHandleIsRefused) {
  EXPECT_THROW(TStdPipe(-1, nullptr, 0), TError);
}
