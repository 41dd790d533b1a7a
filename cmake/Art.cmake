# The artwork: SVG files, drawn by Qt Svg where the program has it (Linux). A build without Qt
# Svg (Windows) gets them as PNG images rendered on the build host by the host's Qt Svg, at the
# scales of the screens it meets (100-200 %, and 300 % for the icon at large sizes); the
# program picks the one that fits (platform/svgpixmap.h).

if(WIN32)
    set(KESTROM_ART_SCALES 1 1.25 1.5 2 3)
    # The renderer runs on the build host, so it is built for the host, with the host's Qt,
    # not with the cross toolchain of this build.
    include(ExternalProject)
    set(KESTROM_ART_RENDERER
        ${CMAKE_BINARY_DIR}/artrender/build/kestrom-artrender${CMAKE_HOST_EXECUTABLE_SUFFIX})
    ExternalProject_Add(kestrom_artrender
        SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/artrender
        PREFIX ${CMAKE_BINARY_DIR}/artrender
        BINARY_DIR ${CMAKE_BINARY_DIR}/artrender/build
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${QT_HOST_PATH}
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${KESTROM_ART_RENDERER})
endif()

# kestrom_add_art(TARGET RESOURCE-NAME SVG...): the SVG files as resources ":/art/FILE-NAME"
# of TARGET, or their renderings ":/art/FILE-NAME@SCALEx.png".
function(kestrom_add_art target resource)
    set(files)
    foreach(svg IN LISTS ARGN)
        get_filename_component(name ${svg} NAME)
        if(NOT WIN32)
            set_source_files_properties(${svg} PROPERTIES QT_RESOURCE_ALIAS ${name})
            list(APPEND files ${svg})
            continue()
        endif()
        set(prefix ${CMAKE_CURRENT_BINARY_DIR}/art/${name})
        set(pngs)
        foreach(scale IN LISTS KESTROM_ART_SCALES)
            set(png ${prefix}@${scale}x.png)
            set_source_files_properties(${png} PROPERTIES QT_RESOURCE_ALIAS ${name}@${scale}x.png)
            list(APPEND pngs ${png})
        endforeach()
        add_custom_command(OUTPUT ${pngs}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/art
            COMMAND ${KESTROM_ART_RENDERER} png ${svg} ${prefix} ${KESTROM_ART_SCALES}
            DEPENDS ${svg} ${KESTROM_ART_RENDERER} kestrom_artrender
            COMMENT "Rendering ${name} for Windows"
            VERBATIM)
        list(APPEND files ${pngs})
    endforeach()
    qt_add_resources(${target} ${resource} PREFIX "/art" FILES ${files})
endfunction()

# kestrom_add_icon(OUTPUT SVG): a multi-size Windows icon file made from the SVG.
function(kestrom_add_icon output svg)
    add_custom_command(OUTPUT ${output}
        COMMAND ${KESTROM_ART_RENDERER} ico ${svg} ${output} 16 20 24 32 40 48 64 128 256
        DEPENDS ${svg} ${KESTROM_ART_RENDERER} kestrom_artrender
        COMMENT "Making the Windows icon from ${svg}"
        VERBATIM)
endfunction()
