// The encoder's output readers.
#include "engine/stdpipe.h"

#include "messages/error.h"
#include "messages/str.h"
#include "platform/pipe.h"

#include <vector>

TStdPipe::TStdPipe(int readHandle, DataHandler onData, int bufferSize)
    : ReadHandle(readHandle), BufferSize(bufferSize > 0 ? bufferSize : 2048),
      OnData(std::move(onData)) {
  if (ReadHandle < 0) {
    throw TError(str::_err_InvalidFileHandle);
  }
  start();
}

TStdPipe::~TStdPipe() {
  wait();
}

void TStdPipe::run() {
  try {
    std::vector<char> buffer(static_cast<size_t>(BufferSize));
    StartedEvent.Set();
    for (;;) {
      const std::int64_t n = ReadPipe(ReadHandle, buffer.data(), buffer.size());
      if (n <= 0) {
        break;
      }
      if (isInterruptionRequested()) {
        result_ = -1;
        break;
      }
      if (OnData) {
        OnData(*this, buffer.data(), static_cast<int>(n));
      }
    }
  } catch (...) {
    result_ = -1;
    StartedEvent.Set();
  }
  CloseHandle(ReadHandle);
}
