# The Windows build: the program lies in one folder with the Qt and MinGW libraries it loads,
# Qt's plugins (platforms/, styles/, imageformats/) and Qt's Japanese texts (translations/);
# CPack packs that folder as a 64-bit NSIS installer and as a ZIP to unpack anywhere.
# Included from Packaging.cmake, which has given the program its identity.

set(CMAKE_INSTALL_BINDIR .)
enable_language(RC)

# Qt's translations are the same files on every system: Debian's (qt6-translations-l10n).
find_file(KESTROM_QTBASE_JA qtbase_ja.qm
    HINTS ${QT_HOST_PATH}/share/qt6/translations /usr/share/qt6/translations
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# The Qt plugins the program loads: the Windows platform, its native style, ICO images.
set(KESTROM_QT_PLUGINS platforms/qwindows styles/qwindowsvistastyle imageformats/qico)

# The folders the program's libraries come from: Qt's, and the MinGW runtime's, asked of the
# compiler so that the posix-threads runtime it links is the one found.
function(kestrom_windows_library_dirs out)
    get_target_property(core Qt6::Core IMPORTED_LOCATION_RELEASE)
    if(NOT core)
        get_target_property(core Qt6::Core IMPORTED_LOCATION)
    endif()
    get_filename_component(dirs ${core} DIRECTORY)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(IS_ABSOLUTE "${path}")
            get_filename_component(dir ${path} DIRECTORY)
            list(APPEND dirs ${dir})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES dirs)
    set(${out} ${dirs} PARENT_SCOPE)
endfunction()
kestrom_windows_library_dirs(KESTROM_WINDOWS_LIBRARY_DIRS)
list(GET KESTROM_WINDOWS_LIBRARY_DIRS 0 qt_bin)
get_filename_component(KESTROM_QT_PREFIX ${qt_bin} DIRECTORY)

# kestrom_windows_program(TARGET): the icon, version resource and manifest of the program,
# and the installation of everything it needs beside it.
function(kestrom_windows_program target)
    set(KESTROM_ICO ${CMAKE_CURRENT_BINARY_DIR}/kestrom.ico)
    kestrom_add_icon(${KESTROM_ICO} ${PROJECT_SOURCE_DIR}/src/decor/art/icon.svg)
    set(KESTROM_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/kestrom.manifest)
    set(KESTROM_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
    set(KESTROM_MANIFEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/kestrom.manifest.in ${KESTROM_MANIFEST} @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/kestrom.rc.in
        ${CMAKE_CURRENT_BINARY_DIR}/kestrom.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/kestrom.rc)
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/kestrom.rc PROPERTIES
        OBJECT_DEPENDS "${KESTROM_ICO};${KESTROM_MANIFEST}")
    # The CPack installer shows the same icon.
    set(KESTROM_ICO ${KESTROM_ICO} PARENT_SCOPE)

    set(plugins)
    foreach(plugin IN LISTS KESTROM_QT_PLUGINS)
        list(APPEND plugins ${KESTROM_QT_PREFIX}/plugins/${plugin}.dll)
    endforeach()
    install(FILES ${KESTROM_QTBASE_JA} DESTINATION translations)
    # The libraries come from the program's and the plugins' real imports.
    install(CODE "
        set(KESTROM_PROGRAM $<TARGET_FILE:${target}>)
        set(KESTROM_PLUGINS ${plugins})
        set(KESTROM_LIBRARY_DIRS ${KESTROM_WINDOWS_LIBRARY_DIRS})
        set(KESTROM_OBJDUMP ${CMAKE_OBJDUMP})
        set(KESTROM_STRIP ${CMAKE_STRIP})
        set(KESTROM_WORK ${CMAKE_BINARY_DIR})
        include(${PROJECT_SOURCE_DIR}/cmake/windows/InstallRuntime.cmake)
    ")
endfunction()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Kestrom)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list and end the Oracle sessions of one machine")
set(CPACK_PACKAGE_FILE_NAME "Kestrom-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kestrom)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# The Start-menu shortcut; the program lies at the top of the installation folder.
set(CPACK_PACKAGE_EXECUTABLES kestrom Kestrom)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_DISPLAY_NAME Kestrom)
set(CPACK_NSIS_PACKAGE_NAME Kestrom)
set(CPACK_NSIS_INSTALLED_ICON_NAME kestrom.exe)
set(CPACK_NSIS_URL_INFO_ABOUT "${KESTROM_HOMEPAGE}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer: a 64-bit Windows (or Wine prefix) without 32-bit support starts it, and
# it writes to the 64-bit program folder and registry.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/src/kestrom.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/src/kestrom.ico)
include(CPack)
