# `cmake --build build --target package` builds xunbao_<version>_<arch>.deb from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME xunbao)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${XB_MAINTAINER})
set(CPACK_PACKAGE_VENDOR "The Xunbao developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "registration of scientific and technological achievements")
set(CPACK_PACKAGE_DESCRIPTION
  "Xunbao lets a research organization register its scientific and technological\n"
  "achievements on the official registration form: it keeps the records year by\n"
  "year, tells which required sections are incomplete, prints the form, fills\n"
  "Word documents and exchanges records as ARJ packages. Its windows are in\n"
  "Simplified Chinese. The package holds the application and xunbao-cli, its\n"
  "command-line tool for scripts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries; the programs and data the features run are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "arj, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
