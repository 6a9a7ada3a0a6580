# What `cmake --install` puts on a desktop machine: the program, its desktop
# entry, the application icon in the hicolor theme, the AppStream metainfo
# and the manual page. The Debian package (Package.cmake) ships the same.
include(GNUInstallDirs)

install(TARGETS tablescope RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(desktop_source ${PROJECT_SOURCE_DIR}/resources/desktop)
set(desktop_binary ${PROJECT_BINARY_DIR}/desktop)
install(FILES ${desktop_source}/tablescope.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# AppStream wants the metainfo file named after the component id, and the id
# in reverse-DNS form; the domain is one of our own.
install(FILES ${desktop_source}/com.example.tablescope.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page carries the version --version shows (three parts);
# installed compressed, as Debian wants it.
set(TABLESCOPE_PRODUCT_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
configure_file(${desktop_source}/tablescope.1.in ${desktop_binary}/tablescope.1 @ONLY)
add_custom_command(OUTPUT ${desktop_binary}/tablescope.1.gz
    COMMAND gzip -9 -n -c ${desktop_binary}/tablescope.1 > ${desktop_binary}/tablescope.1.gz
    DEPENDS ${desktop_binary}/tablescope.1
    COMMENT "Compressing the manual page")
add_custom_target(tablescope_manual ALL DEPENDS ${desktop_binary}/tablescope.1.gz)
install(FILES ${desktop_binary}/tablescope.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The icon: the SVG itself for any size, and PNGs rendered from it for the
# fixed sizes that menus and panels ask for.
set(icon_source ${PROJECT_SOURCE_DIR}/resources/icons/tablescope.svg)
install(FILES ${icon_source} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
    set(icon_pngs)
    foreach(size 16 22 24 32 48 64 128 256)
        set(icon_dir ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps)
        add_custom_command(OUTPUT ${icon_dir}/tablescope.png
            COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
            COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --keep-aspect-ratio
                    --output=${icon_dir}/tablescope.png ${icon_source}
            DEPENDS ${icon_source}
            COMMENT "Rendering the ${size}x${size} icon"
            VERBATIM)
        list(APPEND icon_pngs ${icon_dir}/tablescope.png)
        install(FILES ${icon_dir}/tablescope.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(tablescope_icons ALL DEPENDS ${icon_pngs})
else()
    message(WARNING "rsvg-convert (librsvg2-bin) not found: only the scalable icon is installed")
endif()
