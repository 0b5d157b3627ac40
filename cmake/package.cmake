# The Debian package of the install (cpack -G DEB, or the "package" target): the program
# folder and the desktop files, owned by root. The shared libraries' packages come from
# dpkg-shlibdeps; what the program loads at run time without linking it is named here. The
# desktop's caches (icons, menus, MIME types) are renewed by the dpkg triggers of the
# packages that own them, so the package has no scripts of its own. A lab adds its kit with
# vendaro-lab package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vendaro)
set(CPACK_PACKAGE_VENDOR Vendaro)
set(CPACK_PACKAGE_CONTACT "Vendaro <vendaro@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo print ordering program of a photo lab")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n The customer adds photos, chooses formats and corrections and sends the\n order to the lab.")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VENDARO_BUILD_NUMBER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libmagickcore-6.q16-6-extra, qt6-translations-l10n")
# The install's places are absolute: the package's root is the system's.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
