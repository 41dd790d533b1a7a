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

# The program Debian ships is built with Debian's hardening flags, as dpkg-buildflags gives
# them with every hardening feature on (bindnow as well): not for the sanitizers, which bring
# their own checks, nor in a cross build, nor without optimisation, which fortify needs.
find_program(KESTROM_DPKG_BUILDFLAGS dpkg-buildflags)
set(KESTROM_HARDENED 0)
if(KESTROM_DPKG_BUILDFLAGS AND NOT KESTROM_SANITIZE AND NOT KESTROM_TSAN AND NOT CMAKE_CROSSCOMPILING)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${KESTROM_DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        # Optimisation and debug information stay the build type's.
        list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*|ffile-prefix-map=.*)$")
        set(hardening_${kind} ${flags})
    endforeach()
    set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    # The package test checks the hardening where it is applied.
    set(KESTROM_HARDENED ${optimised})
    target_compile_options(kestrom_common INTERFACE
        "$<${optimised}:${hardening_CPPFLAGS};${hardening_CXXFLAGS}>")
    target_link_options(kestrom_common INTERFACE "$<${optimised}:${hardening_LDFLAGS}>")
endif()

include(GNUInstallDirs)
add_subdirectory(${PROJECT_SOURCE_DIR}/dist)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrom)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Tarnwick <tarnwick@users.noreply.github.com>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list and end the Oracle sessions of one machine")
# Debian shows the description as it stands: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrom connects to one Oracle database, lists the sessions in v$session
whose terminal is one machine (by default this computer) and ends the
session the user picks with ALTER SYSTEM KILL SESSION. Its user interface
is Japanese.

It loads the Oracle client library (Oracle Instant Client) at run time;
that library is not part of this package.")
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
# Oracle Instant Client needs libaio; the package is named libaio1t64 from Debian 13 on. Qt's
# own buttons and dialogs speak Japanese only with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libaio1 | libaio1t64, qt6-translations-l10n")
include(CPack)
