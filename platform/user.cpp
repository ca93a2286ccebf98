#include "user.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform {

QString userId()
{
#ifdef Q_OS_WIN
    constexpr DWORD capacity = 257; // a user name's longest, and the end
    wchar_t name[capacity];
    DWORD size = capacity;
    if (GetUserNameW(name, &size) && size > 1)
        return QString::fromWCharArray(name, static_cast<int>(size - 1));
    return qEnvironmentVariable("USERNAME");
#else
    return QString::number(::getuid());
#endif
}

} // namespace platform
