// Pipes on pipe2(O_CLOEXEC): a child started with posix_spawn gets only the ends its file
// actions duplicate onto its standard descriptors.
#include "platform/pipe.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool CreatePipe(TPipeEnds &ends) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    return false;
  }
  ends.Read = fds[0];
  ends.Write = fds[1];
  return true;
}

void CloseHandle(int &fd) {
  if (fd >= 0) {
    close(fd);
    fd = -1;
  }
}

std::int64_t ReadPipe(int fd, void *buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = read(fd, buffer, size);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    return n;
  }
}

std::int64_t WritePipe(int fd, const void *buffer, std::size_t size) {
  const char *p = static_cast<const char *>(buffer);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = write(fd, p + done, size - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return static_cast<std::int64_t>(done);
}
