# Windows: the programs with their icon and version information, and
# everything they load beside them in one folder (Qt's and mingw's DLLs,
# Qt's platform, style and icon plugins in their subfolders, Qt's
# Czech translation, the help file, the licence). make package-windows packs
# that folder twice: an NSIS installer (cmake/NSIS.template.in) and a zip
# that runs from any folder.

set(vendor "ventbox developers")
set(copyright "Copyright 2026 ventbox developers. GNU GPL 3 or later.")
set(icon ${PROJECT_SOURCE_DIR}/resources/pictures/ventbox.ico)
foreach(program ventbox ventbox-help ventbox-calc)
  if(NOT TARGET ${program})
    continue()
  endif()
  if(program STREQUAL "ventbox")
    set(description "Návrh basreflexové ozvučnice")
  elseif(program STREQUAL "ventbox-help")
    set(description "Nápověda programu Ventbox")
  else()
    set(description "Návrh basreflexové ozvučnice na příkazové řádce")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in
                 ${CMAKE_BINARY_DIR}/windows/${program}.rc @ONLY)
  target_sources(${program} PRIVATE ${CMAKE_BINARY_DIR}/windows/${program}.rc)
  set_property(SOURCE ${CMAKE_BINARY_DIR}/windows/${program}.rc APPEND PROPERTY
               OBJECT_DEPENDS ${icon})
endforeach()

install(TARGETS ventbox-calc)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# The C++ runtime of mingw-w64, which the programs and Qt's DLLs load.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  install(FILES ${path} DESTINATION .)
endforeach()

if(VENTBOX_GUI)
  # The windows are GUI programs: no console.
  set_target_properties(ventbox ventbox-help PROPERTIES WIN32_EXECUTABLE ON)
  install(TARGETS ventbox)
  foreach(module Core Gui Widgets PrintSupport Network)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
  endforeach()
  # (Printing to Windows printers is part of Qt6PrintSupport.dll itself.)
  foreach(plugin platforms/QWindowsIntegrationPlugin styles/QWindowsVistaStylePlugin
                 imageformats/QICOPlugin)
    get_filename_component(folder ${plugin} DIRECTORY)
    get_filename_component(name ${plugin} NAME)
    install(FILES $<TARGET_FILE:Qt6::${name}> DESTINATION ${folder})
  endforeach()

  # Qt's Czech translation, Debian's (a .qm file is the same on every
  # platform): beside the programs in the build tree too.
  find_file(VENTBOX_QTBASE_CS qtbase_cs.qm PATHS /usr/share/qt6/translations
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT VENTBOX_QTBASE_CS)
    message(FATAL_ERROR "qtbase_cs.qm not found: install qt6-translations-l10n")
  endif()
  file(COPY ${VENTBOX_QTBASE_CS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations)
  install(FILES ${VENTBOX_QTBASE_CS} DESTINATION translations)
endif()

# The DLLs copied in keep no symbols, as the programs (CPACK_STRIP_FILES).
install(CODE "
  file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
  execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \${dlls} COMMAND_ERROR_IS_FATAL ANY)")

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ventbox)
set(CPACK_PACKAGE_VENDOR ${vendor})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Návrh basreflexové ozvučnice")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Ventbox)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# The installer's icon; the rest of the installer is cmake/NSIS.template.in.
set(CPACK_NSIS_MUI_ICON ${icon})
set(CPACK_NSIS_MUI_UNIICON ${icon})
# The file names: ventbox-<version>-setup.exe and
# ventbox-<version>-windows-x86_64.zip (whose folder has the same name).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackWindowsNames.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} "
if(CPACK_GENERATOR STREQUAL \"NSIS\")
  set(CPACK_PACKAGE_FILE_NAME ventbox-${PROJECT_VERSION}-setup)
else()
  set(CPACK_PACKAGE_FILE_NAME ventbox-${PROJECT_VERSION}-windows-x86_64)
endif()
")
include(CPack)
