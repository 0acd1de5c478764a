// Events: manual and auto reset, the wait for any of several things, across threads.
#include "platform/event.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

TEST(Event, ManualResetStaysSignalledUntilReset) {
  TEvent e(TEvent::ManualReset);
  EXPECT_FALSE(e.IsSet());
  e.Set();
  e.Set();
  e.Wait();
  e.Wait();
  EXPECT_TRUE(e.IsSet());
  EXPECT_EQ(WaitForAny({e}), 0);
  e.Reset();
  EXPECT_FALSE(e.IsSet());
}

TEST(Event, AutoResetReleasesOneWaitPerSet) {
  TEvent e(TEvent::AutoReset, true);
  e.Wait();
  EXPECT_FALSE(e.IsSet());
  std::atomic<int> released{0};
  std::thread a([&] {
    e.Wait();
    ++released;
  });
  std::thread b([&] {
    e.Wait();
    ++released;
  });
  e.Set();
  while (released.load() < 1) {
    std::this_thread::yield();
  }
  e.Set();
  a.join();
  b.join();
  EXPECT_EQ(released.load(), 2);
  EXPECT_FALSE(e.IsSet());
}

TEST(Event, WaitForAnyReturnsTheSignalledItemAndBlocksUntilThen) {
  TEvent first(TEvent::ManualReset);
  TEvent second(TEvent::AutoReset);
  std::thread setter([&] { second.Set(); });
  EXPECT_EQ(WaitForAny({first, second}), 1);
  setter.join();
  EXPECT_FALSE(second.IsSet());

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  EXPECT_EQ(WaitForAny({first, TWaitItem(fds[0])}), 1);
  first.Set();
  EXPECT_EQ(WaitForAny({first, TWaitItem(fds[0])}), 0);
  close(fds[0]);
  close(fds[1]);
  EXPECT_EQ(WaitForAny({second, TWaitItem(fds[0])}), -1);
}
