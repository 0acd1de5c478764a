// Anonymous pipes whose ends are never inherited by a child process (close-on-exec), and the
// blocking reads and writes the encoder's pipes need.
#pragma once

#include <cstddef>
#include <cstdint>

struct TPipeEnds {
  int Read = -1;
  int Write = -1;
};

// Makes a pipe with the system's default buffer size, both ends close-on-exec. False when the
// system refuses.
bool CreatePipe(TPipeEnds &ends);

// Closes fd when it is open and marks it closed.
void CloseHandle(int &fd);

// Reads up to size bytes, blocking until some arrive. The count read, 0 at the end of the pipe,
// -1 on an error.
std::int64_t ReadPipe(int fd, void *buffer, std::size_t size);

// Writes all size bytes unless the pipe fails (the reader closed its end, EPIPE); returns the
// bytes written, which is less than size on a failure.
std::int64_t WritePipe(int fd, const void *buffer, std::size_t size);
