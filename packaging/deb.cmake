# The Debian package, spritehex_VERSION_ARCH.deb, made by CPack from the install rules above.
# tools/make-deb.sh configures the build it comes from: prefix /usr, Debian's hardening flags,
# spritehex-cli linked dynamically, SOURCE_DATE_EPOCH set for the times in the archive.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME spritehex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${SPRITEHEX_SUMMARY}")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_SOURCE_DIR}/debian/description)
set(CPACK_PACKAGE_HOMEPAGE_URL ${SPRITEHEX_HOMEPAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SPRITEHEX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, as dpkg-shlibdeps finds them. Qt's X11 plugin comes with Qt
# Gui; the Wayland one is a package of its own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
