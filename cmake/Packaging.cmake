# Who the program is to the desktop and to Debian, how it is installed, and its Debian package.
# Included from the top level before the sources, which take the identity from here.

# One reverse-DNS id names the desktop entry, the icon and the AppStream metadata.
set(KESTROM_APP_ID "io.github.tarnwick.kestrom")
# What the version window and --version show: the project version and the edition.
set(KESTROM_VERSION_TEXT "${PROJECT_VERSION}J R1")
# The day the project version was released; it goes with the version into the metadata.
set(KESTROM_RELEASE_DATE "2026-12-08")
# Where the project is published; software centres fetch the screenshot from there.
set(KESTROM_HOMEPAGE "https://github.com/tarnwick/kestrom")

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/PackagingWindows.cmake)
    return()
endif()

include(GNUInstallDirs)
add_subdirectory(${PROJECT_SOURCE_DIR}/dist)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrom)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Tarnwick <tarnwick@users.noreply.github.com>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list and end the Oracle sessions of one machine")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrom connects to one Oracle database, lists the sessions in v$session whose terminal
is one machine (by default this computer) and ends the session the user picks with
ALTER SYSTEM KILL SESSION. Its user interface is Japanese.

It loads the Oracle client library (Oracle Instant Client) at run time; that library is
not part of this package.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kestrom)
# Debian ships binaries stripped.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTROM_HOMEPAGE}")
# The libraries the binary links come from dpkg-shlibdeps; the fonts stand in for the
# window fonts the program names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# Oracle Instant Client needs libaio; the package is named libaio1t64 from Debian 13 on.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libaio1 | libaio1t64")
include(CPack)
