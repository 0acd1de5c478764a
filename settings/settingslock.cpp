// The settings lock on a mutex and one condition variable; every change of the holders wakes all
// waiters, which then test their own condition again.
#include "settings/settingslock.h"

bool TSettingsLock::CanRead(std::thread::id me) const {
  return writer_ == std::thread::id() || writer_ == me;
}

bool TSettingsLock::CanWrite(std::thread::id me) const {
  if (writer_ == me)
    return true;
  if (writer_ != std::thread::id())
    return false;
  for (const auto &[holder, count] : readers_)
    if (holder != me && count > 0)
      return false;
  return true;
}

void TSettingsLock::BeginRead() {
  const auto me = std::this_thread::get_id();
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return CanRead(me); });
  ++readers_[me];
}

bool TSettingsLock::TryBeginRead() {
  const auto me = std::this_thread::get_id();
  std::lock_guard lock(mutex_);
  if (!CanRead(me))
    return false;
  ++readers_[me];
  return true;
}

void TSettingsLock::EndRead() {
  const auto me = std::this_thread::get_id();
  {
    std::lock_guard lock(mutex_);
    auto it = readers_.find(me);
    if (it == readers_.end()) // a release without a take: nothing to give back
      return;
    if (--it->second == 0)
      readers_.erase(it);
  }
  changed_.notify_all();
}

void TSettingsLock::BeginWrite() {
  const auto me = std::this_thread::get_id();
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return CanWrite(me); });
  writer_ = me;
  ++writeDepth_;
}

bool TSettingsLock::TryBeginWrite() {
  const auto me = std::this_thread::get_id();
  std::lock_guard lock(mutex_);
  if (!CanWrite(me))
    return false;
  writer_ = me;
  ++writeDepth_;
  return true;
}

void TSettingsLock::EndWrite() {
  const auto me = std::this_thread::get_id();
  {
    std::lock_guard lock(mutex_);
    if (writer_ != me || writeDepth_ == 0)
      return;
    if (--writeDepth_ == 0)
      writer_ = std::thread::id();
  }
  changed_.notify_all();
}
