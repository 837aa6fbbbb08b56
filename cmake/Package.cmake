# `./dev package` (cpack -G DEB) turns the install rules into a Debian package for
# /usr. Its dependencies are read from the shared libraries the program links.
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Corvane developers <corvane@invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename, number and re-date many files at once, and edit MP3 tags")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Corvane changes many files at once: numbering, regular-expression file-name\n"
  "replace, creation and last-write time-stamps, MP3 tags and folder names.\n"
  "Try shows every planned result in the list without touching the disk;\n"
  "Execute applies it, and the last run's names can be put back. Jobs can run\n"
  "unattended from the command line. The interface is Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in Japanese, and a font that draws the Japanese interface.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic")
include(CPack)
