// The blocking queued call into the receiving thread.
#include "engine/notify.h"

#include <QMetaObject>

void SendNotify(TEngineNotify *receiver, const std::function<void()> &call) {
  if (receiver == nullptr) {
    return;
  }
  std::lock_guard<std::mutex> lock(receiver->NotifyLock);
  QMetaObject::invokeMethod(receiver, call, Qt::BlockingQueuedConnection);
}
