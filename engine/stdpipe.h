// TStdPipe: a thread that drains one pipe of the encoder (its standard output or error) until
// the writing side is closed by everybody, handing each block read to OnData.
#pragma once

#include "platform/event.h"

#include <QThread>
#include <functional>

class TStdPipe : public QThread {
public:
  using DataHandler = std::function<void(TStdPipe &pipe, const char *bytes, int count)>;

  // Takes ownership of readHandle (closed when the body ends) and starts at once. A missing
  // handle raises _err_InvalidFileHandle. A buffer size of 0 or less reads 2048 bytes at a time.
  TStdPipe(int readHandle, DataHandler onData, int bufferSize);
  // Waits for the body to end.
  ~TStdPipe() override;

  // Signalled as the body's first act.
  TEvent StartedEvent{TEvent::AutoReset};
  // 0, or -1 when the body stopped on the termination flag or an error.
  int Result() const { return result_; }

protected:
  void run() override;

private:
  int ReadHandle;
  int BufferSize;
  DataHandler OnData;
  int result_ = 0;
};
