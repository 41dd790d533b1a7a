# Who the program is to the desktop and to Debian, how it is installed, and its Debian package.
# Included from the top level before the sources, which take the identity from here.

# What the version window and --version show: the project version and the edition.
set(KESTROM_VERSION_TEXT "${PROJECT_VERSION}J R1")
