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
