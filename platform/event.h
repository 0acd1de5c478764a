// TEvent: a manual- or auto-reset event on an eventfd, so that a thread can wait for several
// events, or an event and a process, at once without polling.
#pragma once

#include <initializer_list>
#include <mutex>

class TEvent {
public:
  enum TResetMode { ManualReset, AutoReset };

  explicit TEvent(TResetMode mode, bool signalled = false);
  ~TEvent();

  TEvent(const TEvent &) = delete;
  TEvent &operator=(const TEvent &) = delete;

  // Signals the event; setting a signalled event changes nothing.
  void Set();
  // Clears the signal.
  void Reset();
  // Blocks until the event is signalled; an auto-reset event is cleared by the wait that
  // returns, so one Set releases exactly one waiter.
  void Wait();
  bool IsSet() const;

  // The descriptor that is readable while the event is signalled.
  int Handle() const { return fd_; }
  TResetMode Mode() const { return mode_; }

  // For WaitForAny: true when this wait may return on the signal (an auto-reset event is taken,
  // so a second waiter that saw the same signal goes on waiting).
  bool Claim();

private:
  int fd_ = -1;
  TResetMode mode_;
  mutable std::mutex mutex_;
  bool set_ = false;
};

// One thing to wait for: an event, or a descriptor that becomes readable (a pidfd, a pipe).
struct TWaitItem {
  TWaitItem(TEvent &event) : Event(&event) {}
  TWaitItem(TEvent *event) : Event(event) {}
  explicit TWaitItem(int fd) : Fd(fd) {}
  TEvent *Event = nullptr;
  int Fd = -1;
};

// Blocks without time-out until one of the items is signalled; returns its index (the first in
// order when several are). -1 when the wait itself fails (a closed descriptor, no items).
int WaitForAny(std::initializer_list<TWaitItem> items);
