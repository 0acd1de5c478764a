// The operating system's version, and the start-up check made on it.
#pragma once

#include <functional>

// The kernel's major version (uname). False when the query fails or its answer cannot be read.
bool QueryOSMajorVersion(int &major);

// Raises TError "この環境では実行できない" when the query fails or the major version is 4 or
// less. The query is a parameter so that the check can be tried against any answer.
void CheckSupportedOS(const std::function<bool(int &)> &query = QueryOSMajorVersion);
