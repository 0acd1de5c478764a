// TEvent on an eventfd whose counter is 1 exactly while the event is signalled.
#include "platform/event.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

TEvent::TEvent(TResetMode mode, bool signalled) : mode_(mode) {
  fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd_ < 0) {
    throw std::system_error(errno, std::generic_category(), "eventfd");
  }
  if (signalled) {
    Set();
  }
}

TEvent::~TEvent() {
  close(fd_);
}

void TEvent::Set() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!set_) {
    const std::uint64_t one = 1;
    if (write(fd_, &one, sizeof one) == sizeof one) {
      set_ = true;
    }
  }
}

void TEvent::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (set_) {
    std::uint64_t value;
    (void)!read(fd_, &value, sizeof value);
    set_ = false;
  }
}

bool TEvent::IsSet() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return set_;
}

bool TEvent::Claim() {
  if (mode_ == ManualReset) {
    return IsSet();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (!set_) {
    return false;
  }
  std::uint64_t value;
  (void)!read(fd_, &value, sizeof value);
  set_ = false;
  return true;
}

void TEvent::Wait() {
  while (WaitForAny({*this}) != 0) {
  }
}

int WaitForAny(std::initializer_list<TWaitItem> items) {
  std::vector<pollfd> fds;
  for (const TWaitItem &item : items) {
    fds.push_back(pollfd{item.Event ? item.Event->Handle() : item.Fd, POLLIN, 0});
  }
  if (fds.empty()) {
    return -1;
  }
  for (;;) {
    for (pollfd &p : fds) {
      p.revents = 0;
    }
    const int n = poll(fds.data(), fds.size(), -1);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return -1;
    }
    int index = 0;
    for (const TWaitItem &item : items) {
      const short revents = fds[index].revents;
      if (revents & POLLNVAL) {
        return -1;
      }
      if (revents & (POLLIN | POLLHUP | POLLERR)) {
        if (item.Event == nullptr || item.Event->Claim()) {
          return index;
        }
      }
      ++index;
    }
  }
}
