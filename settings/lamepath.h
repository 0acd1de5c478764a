// FindLamePath: where the LAME encoder is when the user has not said.
#pragma once

#include <QString>

// The full path of the first "lame" program on the system's search path; empty when there is
// none.
QString FindLamePath();
