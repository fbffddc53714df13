# Installing and packaging: `cmake --install` puts the three programs in bin/, English.Lang
# in share/tallimar (the installed program's own folder, see apps/tallimar/main.cpp), the
# desktop entry, the icon and the tuner's guide; `cpack -G DEB` in the build folder makes the
# Debian package.
include(GNUInstallDirs)

install(TARGETS tallimar-batch tallimar-ecu-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET tallimar)
  install(TARGETS tallimar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_BINARY_DIR}/apps/tallimar/English.Lang
          DESTINATION ${CMAKE_INSTALL_DATADIR}/tallimar)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/tallimar.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/tallimar.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/guide.html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallimar)
endif()

set(CPACK_PACKAGE_NAME tallimar)
set(CPACK_PACKAGE_VENDOR "Tallimar developers")
set(CPACK_PACKAGE_CONTACT "Tallimar developers <tallimar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "VE table tuning tool for MegaSquirt fuel-injection ECUs")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tallimar finds the O2 sensor's crossovers in MegaSquirt datalogs, collects the\n"
    "EGO-corrected VE on a fine raw data map, smooths it and computes a new VE table,\n"
    "plots every map in colour, prints reports, and reads, sends and burns the table\n"
    "over RS-232. tallimar-batch runs the same commands without a window, and\n"
    "tallimar-ecu-sim plays an ECU on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the Qt platform plugins are
# loaded at run time and named here.
find_program(TALLIMAR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TALLIMAR_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
else()
  string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libpugixml1v5, libqt6core6, libqt6gui6, libqt6widgets6, "
      "libqt6printsupport6, libqt6serialport6, qt6-qpa-plugins")
endif()
include(CPack)
