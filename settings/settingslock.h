// TSettingsLock: the reader/writer lock around the settings, with scoped guards.
//
// Any number of threads may hold the shared side together; the exclusive side excludes every
// other thread. A thread holding the exclusive side may take either side again (both nest). A
// thread holding the shared side may take the exclusive side; that waits until no other thread
// holds the shared side. Two threads that both hold the shared side and both ask for the
// exclusive side wait for each other forever, so callers never do that.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

class TSettingsLock {
public:
  TSettingsLock() = default;
  TSettingsLock(const TSettingsLock &) = delete;
  TSettingsLock &operator=(const TSettingsLock &) = delete;

  void BeginRead();
  void EndRead();
  void BeginWrite();
  void EndWrite();

  // Take a side only when that needs no waiting; true when it was taken.
  bool TryBeginRead();
  bool TryBeginWrite();

private:
  bool CanRead(std::thread::id me) const;
  bool CanWrite(std::thread::id me) const;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread::id writer_;                 // the thread holding the exclusive side, if any
  int writeDepth_ = 0;                     // how often writer_ has taken it
  std::map<std::thread::id, int> readers_; // shared holds per thread
};

// Holds the shared side for its lifetime.
class TSettingsReadGuard {
public:
  explicit TSettingsReadGuard(TSettingsLock &lock) : lock_(lock) { lock_.BeginRead(); }
  ~TSettingsReadGuard() { lock_.EndRead(); }
  TSettingsReadGuard(const TSettingsReadGuard &) = delete;
  TSettingsReadGuard &operator=(const TSettingsReadGuard &) = delete;

private:
  TSettingsLock &lock_;
};

// Holds the exclusive side for its lifetime.
class TSettingsWriteGuard {
public:
  explicit TSettingsWriteGuard(TSettingsLock &lock) : lock_(lock) { lock_.BeginWrite(); }
  ~TSettingsWriteGuard() { lock_.EndWrite(); }
  TSettingsWriteGuard(const TSettingsWriteGuard &) = delete;
  TSettingsWriteGuard &operator=(const TSettingsWriteGuard &) = delete;

private:
  TSettingsLock &lock_;
};
