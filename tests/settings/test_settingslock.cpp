// The settings lock under two and more threads. Every wait on another thread is bounded, so a
// lock that blocks where it must not fails the test instead of hanging it.
#include "settings/settingslock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
constexpr auto Deadline = 10s; // far beyond any honest wait; only a deadlock reaches it
constexpr auto Settle = 100ms; // time for a thread that should block to reach its wait

// Whether another thread could take the side right now; a side it takes is given back at once.
bool OtherCanRead(TSettingsLock &lock) {
  return std::async(std::launch::async,
                    [&] {
                      const bool taken = lock.TryBeginRead();
                      if (taken)
                        lock.EndRead();
                      return taken;
                    })
      .get();
}

bool OtherCanWrite(TSettingsLock &lock) {
  return std::async(std::launch::async,
                    [&] {
                      const bool taken = lock.TryBeginWrite();
                      if (taken)
                        lock.EndWrite();
                      return taken;
                    })
      .get();
}

// A thread that takes one side of the lock, reports when it holds it, and gives it back when
// told to.
class THolder {
public:
  enum TSide { Shared, Exclusive };

  THolder(TSettingsLock &lock, TSide side) : lock_(lock) {
    thread_ = std::thread([this, side] {
      side == Shared ? lock_.BeginRead() : lock_.BeginWrite();
      held_.set_value();
      release_.get_future().wait();
      side == Shared ? lock_.EndRead() : lock_.EndWrite();
    });
    heldFuture_ = held_.get_future();
  }
  ~THolder() {
    Release();
    thread_.join();
  }

  bool HoldsWithin(std::chrono::milliseconds wait) {
    return heldFuture_.wait_for(wait) == std::future_status::ready;
  }
  void Release() {
    if (!released_.exchange(true))
      release_.set_value();
  }

private:
  TSettingsLock &lock_;
  std::promise<void> held_, release_;
  std::future<void> heldFuture_;
  std::atomic<bool> released_{false};
  std::thread thread_;
};

TEST(settings_lock, SharedSideIsHeldByManyThreadsTogether) {
  TSettingsLock lock;
  TSettingsReadGuard mine(lock);
  THolder first(lock, THolder::Shared);
  THolder second(lock, THolder::Shared);
  EXPECT_TRUE(first.HoldsWithin(Deadline));
  EXPECT_TRUE(second.HoldsWithin(Deadline));
  EXPECT_TRUE(OtherCanRead(lock));
  EXPECT_FALSE(OtherCanWrite(lock));
}

TEST(settings_lock, ExclusiveSideExcludesEveryOtherThreadUntilReleased) {
  TSettingsLock lock;
  lock.BeginWrite();
  EXPECT_FALSE(OtherCanRead(lock));
  EXPECT_FALSE(OtherCanWrite(lock));

  THolder reader(lock, THolder::Shared);
  THolder writer(lock, THolder::Exclusive);
  EXPECT_FALSE(reader.HoldsWithin(Settle));
  EXPECT_FALSE(writer.HoldsWithin(0ms));

  lock.EndWrite();
  // The two waiters get the lock one after the other, whichever comes first.
  ASSERT_TRUE(reader.HoldsWithin(Deadline) || writer.HoldsWithin(Deadline));
  reader.Release();
  writer.Release();
  EXPECT_TRUE(reader.HoldsWithin(Deadline));
  EXPECT_TRUE(writer.HoldsWithin(Deadline));
}

TEST(settings_lock, ExclusiveSideNestsWithBothSides) {
  TSettingsLock lock;
  lock.BeginWrite();
  lock.BeginWrite();
  EXPECT_TRUE(lock.TryBeginWrite());
  lock.BeginRead(); // a writer may read without giving up anything
  lock.EndRead();
  lock.EndWrite();
  lock.EndWrite();
  EXPECT_FALSE(OtherCanRead(lock)) << "released once less than taken";
  lock.EndWrite();
  EXPECT_TRUE(OtherCanRead(lock));
  EXPECT_TRUE(OtherCanWrite(lock));
}

TEST(settings_lock, SharedHolderTakesExclusiveSideOnceOtherReadersLeave) {
  TSettingsLock lock;
  THolder other(lock, THolder::Shared);
  ASSERT_TRUE(other.HoldsWithin(Deadline));

  std::promise<void> promoted;
  std::promise<void> finish;
  std::thread promoter([&] {
    TSettingsReadGuard read(lock);
    TSettingsWriteGuard write(lock);
    promoted.set_value();
    finish.get_future().wait();
  });
  auto promotedFuture = promoted.get_future();
  EXPECT_NE(promotedFuture.wait_for(Settle), std::future_status::ready)
      << "promotion did not wait for the other reader";

  other.Release();
  EXPECT_EQ(promotedFuture.wait_for(Deadline), std::future_status::ready);
  EXPECT_FALSE(OtherCanRead(lock));
  finish.set_value();
  promoter.join();
  EXPECT_TRUE(OtherCanWrite(lock));
}

TEST(settings_lock, SoleSharedHolderIsPromotedAtOnceAndKeepsItsSharedSide) {
  TSettingsLock lock;
  lock.BeginRead();
  lock.BeginRead();
  ASSERT_TRUE(lock.TryBeginWrite());
  EXPECT_FALSE(OtherCanRead(lock));
  lock.EndWrite();
  EXPECT_TRUE(OtherCanRead(lock));
  EXPECT_FALSE(OtherCanWrite(lock)) << "the shared side is still held twice";
  lock.EndRead();
  EXPECT_FALSE(OtherCanWrite(lock));
  lock.EndRead();
  EXPECT_TRUE(OtherCanWrite(lock));
}

TEST(settings_lock, GuardsReleaseOnExceptions) {
  TSettingsLock lock;
  EXPECT_THROW(
      {
        TSettingsReadGuard read(lock);
        TSettingsWriteGuard write(lock);
        TSettingsWriteGuard again(lock);
        throw std::runtime_error("failed while holding");
      },
      std::runtime_error);
  EXPECT_TRUE(OtherCanWrite(lock));
}

TEST(settings_lock, ReleaseWithoutTakeChangesNothing) {
  TSettingsLock lock;
  THolder writer(lock, THolder::Exclusive);
  ASSERT_TRUE(writer.HoldsWithin(Deadline));
  lock.EndWrite(); // not this thread's hold
  lock.EndRead();
  EXPECT_FALSE(OtherCanRead(lock));
}

// Readers check that a writer's two-step change is never seen half done.
TEST(settings_lock, ReadersNeverSeeAHalfDoneWrite) {
  TSettingsLock lock;
  long first = 0, second = 0;
  std::atomic<bool> torn{false};
  std::atomic<bool> stop{false};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r)
    readers.emplace_back([&] {
      while (!stop) {
        {
          TSettingsReadGuard guard(lock);
          if (first != second)
            torn = true;
        }
        std::this_thread::sleep_for(20us); // readers read in groups, with gaps between
      }
    });
  for (int i = 0; i < 2000; ++i) {
    TSettingsWriteGuard guard(lock);
    ++first;
    std::this_thread::yield();
    ++second;
  }
  stop = true;
  for (std::thread &reader : readers)
    reader.join();
  EXPECT_FALSE(torn);
  EXPECT_EQ(first, 2000);
}

} // namespace
