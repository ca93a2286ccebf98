# Cross-building for arm64 (aarch64) on Debian, with
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
# The compiler is g++-aarch64-linux-gnu; the libraries are Debian's arm64
# packages installed beside the host's through multiarch
# (dpkg --add-architecture arm64; qt6-base-dev:arm64, libmpfr-dev:arm64,
# libgtest-dev:arm64). Qt's build tools (moc, uic, rcc) are the host's.
# scripts/install-deps arm64 installs all of it. Where qemu-aarch64 is
# there, the built programs run through it: the tests, and help2man making
# ventbox-calc's manual page.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# Headers and libraries only for arm64, programs only from the host.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu /usr)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_PREFIX_PATH /usr/lib/aarch64-linux-gnu/cmake)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)

# Qt's host tools.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# The programs run with the arm64 C library of multiarch (libc6:arm64, which
# every arm64 library package brings): its loader and its libc.so belong
# together. (Pointing qemu at the cross compiler's copy in
# /usr/aarch64-linux-gnu mixes that loader with the multiarch libc, whose
# Debian revisions differ, and threads hang.)
find_program(VENTBOX_QEMU_AARCH64 qemu-aarch64)
if(VENTBOX_QEMU_AARCH64 AND EXISTS /lib/ld-linux-aarch64.so.1)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VENTBOX_QEMU_AARCH64})
elseif(VENTBOX_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VENTBOX_QEMU_AARCH64} -L /usr/aarch64-linux-gnu)
endif()
