# What `make install` and `make deb` lay out under the prefix:
#
#   lib/letterloom/       the program directory: both programs, the sample font,
#                         picture and projects, and the manual once built, as in
#                         the build directory (dialogs start there, projects'
#                         relative font paths count from there)
#   bin/                  letterloom and letterloom-cli, links into it
#   share/applications/   the menu entry           share/metainfo/  its description
#   share/icons/hicolor/  the icon                 share/mime/      the two file kinds
#   share/man/man1/       letterloom-cli(1)
#
# The programs find their program directory through their own file, with
# links resolved, so the links in bin/ start them as if from lib/letterloom/.

set(program_dir lib/letterloom)

install(TARGETS letterloom letterloom-cli RUNTIME DESTINATION ${program_dir})
install(FILES ${PROJECT_BINARY_DIR}/sample.llf ${PROJECT_BINARY_DIR}/sample.bmp ${PROJECT_BINARY_DIR}/sample.llp
              ${PROJECT_BINARY_DIR}/areas.llp
              ${PROJECT_BINARY_DIR}/outlined.llp
        DESTINATION ${program_dir})
install(DIRECTORY ${PROJECT_BINARY_DIR}/manual DESTINATION ${program_dir} OPTIONAL)

# Relative links, so the tree works under any prefix and DESTDIR.
set(link_dir ${PROJECT_BINARY_DIR}/install_links)
file(MAKE_DIRECTORY ${link_dir})
foreach(program IN ITEMS letterloom letterloom-cli)
  file(CREATE_LINK ../${program_dir}/${program} ${link_dir}/${program} SYMBOLIC)
  install(FILES ${link_dir}/${program} DESTINATION bin)
endforeach()

set(desktop ${PROJECT_SOURCE_DIR}/desktop/${LETTERLOOM_ID})
install(FILES ${desktop}.desktop DESTINATION share/applications)
install(FILES ${desktop}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${desktop}.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${desktop}.mime.xml DESTINATION share/mime/packages RENAME ${LETTERLOOM_ID}.xml)
install(FILES ${PROJECT_SOURCE_DIR}/docs/letterloom-cli.1 DESTINATION share/man/man1)

# Installed straight into a live prefix (no DESTDIR), the desktop's caches
# learn the new file kinds, menu entry and icon; a package leaves that to the
# triggers of the system's own packages.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    foreach(update IN ITEMS "update-mime-database;${share}/mime"
                            "update-desktop-database;-q;${share}/applications"
                            "gtk-update-icon-cache;-q;-t;-f;${share}/icons/hicolor")
      list(POP_FRONT update tool)
      unset(tool_path)
      find_program(tool_path ${tool} NO_CACHE)
      if(tool_path)
        execute_process(COMMAND ${tool_path} ${update} OUTPUT_QUIET ERROR_QUIET)
      endif()
    endforeach()
  endif()
]])

# make deb: a Debian package of the same tree under /usr. Its dependencies
# are the packages of the shared libraries the programs link, as
# dpkg-shlibdeps finds them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME letterloom)
set(CPACK_PACKAGE_CONTACT "Letterloom developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "draw text with a raster font onto a picture")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Letterloom draws text with a raster (bitmap) font onto a picture: build or
open a font of 256 glyphs, edit them pixel by pixel, mark a text area on a BMP
or PNG picture, type the text, and export the picture with the text laid out,
tinted and aligned. The command-line companion letterloom-cli renders
projects and looks into fonts without a window.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icons are drawn by Qt's SVG plugins, which are loaded at run time where
# dpkg-shlibdeps cannot see them: the package that holds them is asked of dpkg.
set(plugin_packages)
foreach(plugin IN ITEMS QSvgIconPlugin QSvgPlugin)
  find_package(Qt6${plugin} CONFIG QUIET PATHS ${Qt6Gui_DIR} NO_DEFAULT_PATH)
  if(TARGET Qt6::${plugin})
    get_target_property(plugin_file Qt6::${plugin} LOCATION)
    execute_process(COMMAND dpkg-query -S ${plugin_file} OUTPUT_VARIABLE owner ERROR_QUIET)
    if(owner MATCHES "^([^:,]+)")
      list(APPEND plugin_packages ${CMAKE_MATCH_1})
    endif()
  endif()
endforeach()
list(REMOVE_DUPLICATES plugin_packages)
list(JOIN plugin_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
# make deb and make install build first; the package itself only collects.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
