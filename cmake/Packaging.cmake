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

include(GNUInstallDirs)
add_subdirectory(${PROJECT_SOURCE_DIR}/dist)
