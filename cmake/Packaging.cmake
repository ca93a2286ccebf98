# Installation and the Debian package (make package).
include(GNUInstallDirs)

if(VENTBOX_GUI)
  install(TARGETS ventbox ventbox-calc)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/ventbox.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/ventbox.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/ventbox-128.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps
          RENAME ventbox.png)
else()
  install(TARGETS ventbox-calc)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ventbox)
set(CPACK_PACKAGE_VENDOR "ventbox developers")
set(CPACK_PACKAGE_CONTACT "ventbox developers <ventbox@localhost>")
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
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by the library scan: the font that stands in for the layouts'
# fonts. Printing goes through the CUPS library, which the scan finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
include(CPack)
