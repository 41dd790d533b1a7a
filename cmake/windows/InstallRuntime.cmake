# Run at install time (install(CODE) in PackagingWindows.cmake): puts beside the program the
# Qt plugins it loads and every library that the program and those plugins import, found from
# their real imports with objdump, so that the list cannot go stale. What is not found in the
# given folders is Windows' own. Set before: KESTROM_PROGRAM, KESTROM_PLUGINS (files),
# KESTROM_LIBRARY_DIRS, KESTROM_OBJDUMP, KESTROM_STRIP, KESTROM_WORK (a scratch folder).

set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${KESTROM_OBJDUMP})

foreach(plugin IN LISTS KESTROM_PLUGINS)
    get_filename_component(dir ${plugin} DIRECTORY)
    get_filename_component(dir ${dir} NAME)
    file(INSTALL ${plugin} DESTINATION ${CMAKE_INSTALL_PREFIX}/${dir})
endforeach()

# CMake looks the imported names up in lower case, as Windows would without regard to case;
# the folders here are case-sensitive, so each library is offered under its lower-case name.
# One folder per installation: the staging of the tests and CPack's may run at once.
string(MD5 installation "${CMAKE_INSTALL_PREFIX}")
set(names ${KESTROM_WORK}/dll-names-${installation})
file(REMOVE_RECURSE ${names})
file(MAKE_DIRECTORY ${names})
foreach(dir IN LISTS KESTROM_LIBRARY_DIRS)
    file(GLOB dlls ${dir}/*.dll)
    foreach(dll IN LISTS dlls)
        get_filename_component(name ${dll} NAME)
        string(TOLOWER ${name} lower)
        if(NOT EXISTS ${names}/${lower})
            file(CREATE_LINK ${dll} ${names}/${lower} SYMBOLIC)
        endif()
    endforeach()
endforeach()

file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${KESTROM_PROGRAM}
    MODULES ${KESTROM_PLUGINS}
    DIRECTORIES ${names}
    PRE_EXCLUDE_REGEXES [[^api-ms-]] [[^ext-ms-]]
    RESOLVED_DEPENDENCIES_VAR found
    UNRESOLVED_DEPENDENCIES_VAR system)
list(SORT system)
string(REPLACE ";" " " shown "${system}")
message(STATUS "Left to Windows: ${shown}")
foreach(dll IN LISTS found)
    file(REAL_PATH ${dll} real)
    file(INSTALL ${real} DESTINATION ${CMAKE_INSTALL_PREFIX})
endforeach()

# Debian's MinGW and our Qt libraries carry their symbols; the user needs none.
file(GLOB_RECURSE dlls ${CMAKE_INSTALL_PREFIX}/*.dll)
foreach(dll IN LISTS dlls)
    execute_process(COMMAND ${KESTROM_STRIP} --strip-unneeded ${dll} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
