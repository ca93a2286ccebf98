# Installation and the Debian package (make package, which checks it with
# lintian); on Windows the packages of PackagingWindows.cmake.
include(GNUInstallDirs)
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/PackagingWindows.cmake)
  return()
endif()

set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)
set(debian_dir ${PROJECT_SOURCE_DIR}/resources/debian)
set(man_source_dir ${PROJECT_SOURCE_DIR}/resources/man)
set(man_dir ${CMAKE_BINARY_DIR}/man)

if(VENTBOX_GUI)
  install(TARGETS ventbox ventbox-calc)
  install(FILES ${desktop_dir}/ventbox.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop_dir}/cz.ventbox.ventbox.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/ventbox.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/ventbox-128.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps
          RENAME ventbox.png)
else()
  install(TARGETS ventbox-calc)
endif()

# The package's version is the project's: the changelog and the AppStream
# metadata must name it in their newest entries.
file(STRINGS ${debian_dir}/changelog changelog_head LIMIT_COUNT 1)
file(READ ${desktop_dir}/cz.ventbox.ventbox.metainfo.xml metainfo)
if(NOT changelog_head MATCHES "^ventbox \\(${PROJECT_VERSION}\\) "
   OR NOT metainfo MATCHES "<releases>[ \n]*<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "resources/debian/changelog and the <releases> of "
                      "resources/desktop/cz.ventbox.ventbox.metainfo.xml need an entry "
                      "for version ${PROJECT_VERSION} first")
endif()

# /usr/share/doc/ventbox: the copyright file as it is, the changelog
# compressed as Debian wants (gzip -9n: no name, no time stamp). The
# package is native, so the changelog is changelog.gz.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9n < ${debian_dir}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${debian_dir}/changelog VERBATIM)
set(package_docs ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${debian_dir}/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual pages (section 1): ventbox-calc's from its --help by help2man,
# so that the two never differ; ventbox's and ventbox-help's from their
# scdoc sources.
# (help2man runs ventbox-calc: through the emulator when cross-building.)
find_program(HELP2MAN help2man)
find_program(SCDOC scdoc)
ventbox_runnable(calc_runnable ventbox-calc)
set(man_pages)
file(MAKE_DIRECTORY ${man_dir})
if(HELP2MAN AND calc_runnable)
  add_custom_command(OUTPUT ${man_dir}/ventbox-calc.1
    COMMAND ${CMAKE_COMMAND} -E env VENTBOX_CALC=${calc_runnable}
            ${HELP2MAN} --no-info --include ${man_source_dir}/ventbox-calc.h2m
                        --output ${man_dir}/ventbox-calc.1 ${man_source_dir}/calc-help
    DEPENDS ventbox-calc ${man_source_dir}/ventbox-calc.h2m ${man_source_dir}/calc-help
    VERBATIM)
  list(APPEND man_pages ventbox-calc)
endif()
if(SCDOC AND VENTBOX_GUI)
  foreach(page ventbox ventbox-help)
    add_custom_command(OUTPUT ${man_dir}/${page}.1
      COMMAND ${SCDOC} < ${man_source_dir}/${page}.1.scd > ${man_dir}/${page}.1
      DEPENDS ${man_source_dir}/${page}.1.scd VERBATIM)
    list(APPEND man_pages ${page})
  endforeach()
endif()
if(NOT HELP2MAN OR NOT SCDOC)
  message(STATUS "help2man or scdoc missing (scripts/install-deps): manual pages left out")
elseif(NOT calc_runnable)
  message(STATUS "no emulator to run ventbox-calc for help2man: its manual page left out")
endif()
foreach(page IN LISTS man_pages)
  add_custom_command(OUTPUT ${man_dir}/${page}.1.gz
    COMMAND gzip -9n < ${man_dir}/${page}.1 > ${man_dir}/${page}.1.gz
    DEPENDS ${man_dir}/${page}.1 VERBATIM)
  list(APPEND package_docs ${man_dir}/${page}.1.gz)
  install(FILES ${man_dir}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(packagedocs ALL DEPENDS ${package_docs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ventbox)
set(CPACK_PACKAGE_VENDOR "ventbox developers")
set(CPACK_PACKAGE_CONTACT "ventbox developers <team@ventbox.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Design of a vented (bass-reflex) loudspeaker enclosure")
set(CPACK_PACKAGE_DESCRIPTION
    "A small Czech desktop tool that computes the resulting quality factor,
the tuning frequency and the port length of a bass-reflex enclosure as
the driver's parameters are typed, computes the port area from its shape,
and prints a one-page design sheet. ventbox-calc does the same
calculation on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Cross-built, the package is for the target's Debian architecture (arm64
# for aarch64-linux-gnu), not the machine's that builds it.
if(CMAKE_CROSSCOMPILING)
  execute_process(COMMAND dpkg-architecture -t${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by the library scan: the font that stands in for the layouts'
# fonts, and Qt's Czech translation. Printing goes through the CUPS
# library, which the scan finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
include(CPack)
