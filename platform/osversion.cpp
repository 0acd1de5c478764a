// uname stands in for the platform's version query.
#include "platform/osversion.h"

#include "messages/error.h"
#include "messages/str.h"

#include <cstdlib>
#include <sys/utsname.h>

bool QueryOSMajorVersion(int &major) {
  utsname info{};
  if (uname(&info) != 0)
    return false;
  char *end = nullptr;
  const long value = std::strtol(info.release, &end, 10);
  if (end == info.release || value < 0 || value > 1000000)
    return false;
  major = static_cast<int>(value);
  return true;
}

void CheckSupportedOS(const std::function<bool(int &)> &query) {
  int major = 0;
  if (!query || !query(major) || major <= 4)
    throw TError(str::_err_OutOfSupportOS);
}
