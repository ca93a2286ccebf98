# Cross-building for 64-bit Windows on Debian, with
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake \
#         -DCMAKE_PREFIX_PATH="<Qt>;<GMP and MPFR>"
# where scripts/build-qt-windows built Qt and (with "mpfr") GMP and MPFR from
# Debian's sources. The compiler is mingw-w64's posix-thread GCC
# (g++-mingw-w64-x86-64-posix), whose long double is the x87 80-bit format;
# Qt's build tools (moc, uic, rcc) are the host's. The built programs run
# under Wine (wine64): the tests, and help2man making ventbox-calc's manual
# page (cmake/Emulator.cmake adds the environment they need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Headers and libraries only for Windows (mingw's and the prefixes given),
# programs only from the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's host tools.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# Debian's 64-bit Wine itself (/usr/bin/wine only starts it, after a
# remark on standard error when the 32-bit one is missing).
find_program(VENTBOX_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(VENTBOX_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VENTBOX_WINE64})
endif()
