# What `cmake --install` puts in place, and the Debian package CPack builds from it:
#   cmake --install build/default --prefix /usr/local
#   (cd build/default && cpack -G DEB)   # lanzhou_<version>_<arch>.deb
include(GNUInstallDirs)

install(TARGETS lanzhou-gen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(LANZHOU_GUI)
  install(TARGETS lanzhou RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/src/ui/lanzhou.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/src/ui/images/lanzhou.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME lanzhou)
set(CPACK_PACKAGE_VENDOR "Lanzhou")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turns article files into a static site of linked pages")
set(CPACK_PACKAGE_CONTACT "lanzhou@example.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
# The libraries' packages, found from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window is drawn for these faces; without them Chinese text falls back to whatever is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, fonts-arphic-uming")
include(CPack)
