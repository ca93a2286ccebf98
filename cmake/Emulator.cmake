# Programs of the build that the build or a test starts by path (help2man,
# the tests of ventbox-calc and ventbox-help). When cross-building, such a
# program runs through CMAKE_CROSSCOMPILING_EMULATOR: a small script beside
# it in <build>/emulated/ starts it there.
#
#   ventbox_runnable(<variable> <target>)
# sets <variable> to the target's file, or when cross-building to its
# script, or to "" when there is no emulator to run it.
function(ventbox_runnable variable target)
  if(NOT CMAKE_CROSSCOMPILING)
    set(${variable} $<TARGET_FILE:${target}> PARENT_SCOPE)
  elseif(CMAKE_CROSSCOMPILING_EMULATOR)
    set(script ${CMAKE_BINARY_DIR}/emulated/${target})
    get_property(made GLOBAL PROPERTY VENTBOX_EMULATED_SCRIPTS)
    if(NOT script IN_LIST made)
      set_property(GLOBAL APPEND PROPERTY VENTBOX_EMULATED_SCRIPTS ${script})
      list(JOIN CMAKE_CROSSCOMPILING_EMULATOR "\" \"" emulator)
      file(GENERATE OUTPUT ${script}
           CONTENT "#!/bin/sh\nexec \"${emulator}\" \"$<TARGET_FILE:${target}>\" \"$@\"\n"
           FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                            WORLD_READ WORLD_EXECUTE)
    endif()
    set(${variable} ${script} PARENT_SCOPE)
  else()
    set(${variable} "" PARENT_SCOPE)
  endif()
endfunction()

# Cross-built for Windows, a program runs under Wine in the build's own Wine
# prefix (made at its first use), and finds Qt's DLLs and mingw's runtime
# through WINEPATH: <build>/wine-run, which becomes the emulator of every
# target made from here on.
function(ventbox_wine_runner)
  if(NOT (WIN32 AND CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR))
    return()
  endif()
  set(dirs)
  foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(dir ${path} DIRECTORY)
    list(APPEND dirs ${dir})
  endforeach()
  if(TARGET Qt6::Core)
    get_target_property(qtcore Qt6::Core IMPORTED_LOCATION_RELEASE)
    get_filename_component(dir ${qtcore} DIRECTORY)
    list(APPEND dirs ${dir})
  endif()
  list(TRANSFORM dirs PREPEND "Z:")
  list(JOIN dirs ";" winepath)
  # Qt's offscreen platform on Windows reads fonts from one folder only: the
  # Liberation fonts (fonts-liberation), as the tests have them on Linux.
  find_path(VENTBOX_LIBERATION_DIR LiberationSans-Regular.ttf
            PATHS /usr/share/fonts/truetype/liberation NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 wine)
  get_filename_component(wine_dir ${wine} DIRECTORY)
  find_program(VENTBOX_WINESERVER NAMES wineserver64 wineserver PATHS ${wine_dir} REQUIRED)
  set(wineserver ${VENTBOX_WINESERVER})
  set(runner ${CMAKE_BINARY_DIR}/wine-run)
  file(CONFIGURE OUTPUT ${runner} @ONLY CONTENT [[#!/bin/sh
# Runs a Windows program of this build under Wine (cmake/Emulator.cmake).
export WINEPREFIX="${VENTBOX_WINEPREFIX:-@CMAKE_BINARY_DIR@/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEPATH="@winepath@"
# Wine hides the host's QT_ variables from Windows programs; it hands them
# WINEQT_... as QT_... (QT_QPA_PLATFORM=offscreen, say). Qt's messages and
# the test reports go to standard error and output, not the debugger's log.
export QT_FORCE_STDERR_LOGGING="${QT_FORCE_STDERR_LOGGING:-1}"
export QT_QPA_FONTDIR="${QT_QPA_FONTDIR:-Z:@VENTBOX_LIBERATION_DIR@}"
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  eval "export WINE$name=\"\$$name\""
done
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  flock "$WINEPREFIX/.boot" sh -c '[ -f "$WINEPREFIX/system.reg" ] || "$1" wineboot --init' \
    sh "@wine@" > /dev/null 2>&1
fi
# One Wine server for the prefix that outlives each program by a minute:
# programs started at once meet it running, not starting or ending. A new
# server's first program also starts Wine's own background programs, which
# keep its output open as long as they run: a program of no output starts
# them instead.
if "@wineserver@" -p60 2> /dev/null; then
  "@wine@" cmd /c exit < /dev/null > /dev/null 2>&1
fi
exec "@wine@" "$@"
]])
  file(CHMOD ${runner} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                   WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${runner} PARENT_SCOPE)
endfunction()
