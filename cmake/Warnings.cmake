# Strict warnings in our own code, with GCC and with Clang. Qt's headers
# come in as system headers (imported targets), so they do not trip these.
# They are errors only with -DVENTBOX_WERROR=ON, which the Makefile sets
# (make test and CI fail on any warning); a plain build by a user or a
# distribution, with another compiler version's new warnings, still builds.
option(VENTBOX_WERROR "Treat warnings as errors" OFF)

set(VENTBOX_WARNINGS
    -Wall -Wextra -Wpedantic
    -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align
    -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough
    -Wmissing-declarations -Wundef -Wvla)
if(VENTBOX_WERROR)
  list(APPEND VENTBOX_WARNINGS -Werror)
endif()

# The calculation core also refuses silent narrowing: every conversion
# between precisions there must be visible in the code.
set(VENTBOX_STRICT_WARNINGS -Wconversion -Wsign-conversion -Wdouble-promotion -Wold-style-cast)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND VENTBOX_STRICT_WARNINGS -Wuseless-cast)
endif()

add_compile_options(${VENTBOX_WARNINGS})
