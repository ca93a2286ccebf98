#pragma once
// Who runs the program, for names that must differ between users on one
// machine (the help viewer's server).

#include <QString>

namespace platform {

// The user's number on Unix, the user's name on Windows.
QString userId();

} // namespace platform
