# Installing and packaging.
#
# The program finds Login.ini and data/ beside its own executable, so an
# installation is one folder:
#   cmake --install build --prefix DIR
#     DIR/Quelvo, DIR/quelvo-search, DIR/Login.ini, DIR/data/
#     DIR/share/applications/quelvo.desktop, DIR/share/icons/hicolor/*/apps/quelvo.png
#
# The Debian package (cpack -G DEB in the build folder) puts that folder in
# /opt/quelvo, Login.ini in /etc/opt/quelvo (a conffile, linked from
# /opt/quelvo/Login.ini), launchers in /usr/bin, and in /usr/share the
# desktop entry, the icons, the manual pages quelvo(1) and quelvo-search(1),
# the AppStream metadata, the copyright file, the changelog and the lintian
# overrides (packaging/debian). It sets up no database server.

set(QUELVO_PACKAGE_FOLDER /opt/quelvo)
set(QUELVO_PACKAGE_CONFIG_FOLDER /etc/opt/quelvo)
set(QUELVO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(QUELVO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# --- the program folder (component "program", plus "config" for Login.ini) ---

set(quelvo_programs quelvo-search)
if(TARGET quelvo)
  list(PREPEND quelvo_programs quelvo)
endif()
install(TARGETS ${quelvo_programs} RUNTIME DESTINATION . COMPONENT program)
install(FILES ${QUELVO_PACKAGING_DIR}/data-README.txt DESTINATION data RENAME README COMPONENT program)
install(FILES ${QUELVO_PACKAGING_DIR}/Login.ini DESTINATION . COMPONENT config)

# On Windows the programs carry their manifest, version information and icon
# from packaging/quelvo.rc (src/win32/app, src/cli); their installer is made
# by packaging/windows/build-installer from the build folder.

if(WIN32 OR NOT TARGET quelvo)
  return()
endif()

# --- desktop integration (component "desktop") ---

# The icon theme's sizes, each scaled from the one 177 x 177 image.
add_executable(quelvo_scale_icon ${QUELVO_PACKAGING_DIR}/tools/scale_icon.cpp)
target_link_libraries(quelvo_scale_icon PRIVATE Qt6::Gui)
get_target_property(quelvo_icon_file quelvo_artwork QUELVO_ICON_FILE)
get_filename_component(quelvo_icon_png ${quelvo_icon_file} DIRECTORY)
set(quelvo_icon_png ${quelvo_icon_png}/quelvo.png)
set(quelvo_icon_theme ${CMAKE_BINARY_DIR}/packaging/hicolor)
set(quelvo_icon_outputs)
foreach(size IN LISTS QUELVO_ICON_SIZES)
  list(APPEND quelvo_icon_outputs ${quelvo_icon_theme}/${size}x${size}/apps/quelvo.png)
endforeach()
add_custom_command(
  OUTPUT ${quelvo_icon_outputs}
  COMMAND quelvo_scale_icon ${quelvo_icon_png} ${quelvo_icon_theme} ${QUELVO_ICON_SIZES}
  DEPENDS quelvo_scale_icon quelvo_artwork ${quelvo_icon_png}
  COMMENT "Scaling the application icon for the icon theme"
  VERBATIM)
add_custom_target(quelvo_theme_icons ALL DEPENDS ${quelvo_icon_outputs})

install(DIRECTORY ${quelvo_icon_theme}/ DESTINATION share/icons/hicolor COMPONENT desktop)

# The desktop entry starts the program in the folder it is installed in,
# which `cmake --install --prefix` decides only at install time.
install(CODE "
  set(QUELVO_DESKTOP_EXEC \"\${CMAKE_INSTALL_PREFIX}/$<TARGET_FILE_NAME:quelvo>\")
  set(quelvo_desktop \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/quelvo.desktop\")
  message(STATUS \"Installing: \${quelvo_desktop}\")
  configure_file(\"${QUELVO_PACKAGING_DIR}/quelvo.desktop.in\" \"\${quelvo_desktop}\" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${quelvo_desktop}\")
  " COMPONENT desktop)

# --- the Debian package's own places (component "debian", never installed
#     by a plain `cmake --install`) ---

set(quelvo_deb_stage ${CMAKE_BINARY_DIR}/packaging/debian)
file(MAKE_DIRECTORY ${quelvo_deb_stage}/bin)
# Symbolic links are enough: the program finds its folder through
# /proc/self/exe, which names the link's target. The launchers keep the
# lower-case names of commands; /usr/bin/quelvo leads to the program file
# Quelvo, whose name gives the error boxes their caption.
get_target_property(quelvo_program_file quelvo OUTPUT_NAME)
file(CREATE_LINK ${QUELVO_PACKAGE_FOLDER}/${quelvo_program_file} ${quelvo_deb_stage}/bin/quelvo SYMBOLIC)
file(CREATE_LINK ${QUELVO_PACKAGE_FOLDER}/quelvo-search ${quelvo_deb_stage}/bin/quelvo-search SYMBOLIC)
file(CREATE_LINK ${QUELVO_PACKAGE_CONFIG_FOLDER}/Login.ini ${quelvo_deb_stage}/Login.ini SYMBOLIC)
set(QUELVO_DESKTOP_EXEC quelvo)
configure_file(${QUELVO_PACKAGING_DIR}/quelvo.desktop.in ${quelvo_deb_stage}/quelvo.desktop @ONLY)
file(WRITE ${quelvo_deb_stage}/conffiles "${QUELVO_PACKAGE_CONFIG_FOLDER}/Login.ini\n")

install(FILES ${quelvo_deb_stage}/bin/quelvo ${quelvo_deb_stage}/bin/quelvo-search
        DESTINATION /usr/bin COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${QUELVO_PACKAGING_DIR}/Login.ini
        DESTINATION ${QUELVO_PACKAGE_CONFIG_FOLDER} COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${quelvo_deb_stage}/Login.ini
        DESTINATION ${QUELVO_PACKAGE_FOLDER} COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${quelvo_deb_stage}/quelvo.desktop
        DESTINATION /usr/share/applications COMPONENT debian EXCLUDE_FROM_ALL)
install(DIRECTORY ${quelvo_icon_theme}/
        DESTINATION /usr/share/icons/hicolor COMPONENT debian EXCLUDE_FROM_ALL)

# Copyright, changelog and lintian overrides, as Debian policy places them.
set(quelvo_debian_sources ${QUELVO_PACKAGING_DIR}/debian)
set(quelvo_changelog ${quelvo_deb_stage}/changelog.gz)
add_custom_command(
  OUTPUT ${quelvo_changelog}
  COMMAND gzip -9nc ${quelvo_debian_sources}/changelog > ${quelvo_changelog}
  DEPENDS ${quelvo_debian_sources}/changelog
  VERBATIM)
install(FILES ${quelvo_debian_sources}/copyright ${quelvo_changelog}
        DESTINATION /usr/share/doc/quelvo COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${quelvo_debian_sources}/quelvo.lintian-overrides
        DESTINATION /usr/share/lintian/overrides RENAME quelvo COMPONENT debian EXCLUDE_FROM_ALL)

# The manual pages: quelvo(1) as written, quelvo-search(1) made by help2man
# from the program's own --help and --version. Their date is the
# changelog's, so a rebuild gives the same pages.
set(quelvo_man_pages ${quelvo_deb_stage}/man/quelvo.1.gz)
file(MAKE_DIRECTORY ${quelvo_deb_stage}/man)
add_custom_command(
  OUTPUT ${quelvo_deb_stage}/man/quelvo.1.gz
  COMMAND gzip -9nc ${QUELVO_PACKAGING_DIR}/man/quelvo.1 > ${quelvo_deb_stage}/man/quelvo.1.gz
  DEPENDS ${QUELVO_PACKAGING_DIR}/man/quelvo.1
  VERBATIM)
find_program(QUELVO_HELP2MAN help2man)
find_program(QUELVO_DPKG_PARSECHANGELOG dpkg-parsechangelog)
if(QUELVO_HELP2MAN)
  set(quelvo_man_date)
  if(QUELVO_DPKG_PARSECHANGELOG)
    execute_process(COMMAND ${QUELVO_DPKG_PARSECHANGELOG} -l ${quelvo_debian_sources}/changelog -S Timestamp
                    OUTPUT_VARIABLE quelvo_changelog_time OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(quelvo_man_date SOURCE_DATE_EPOCH=${quelvo_changelog_time})
  endif()
  set(quelvo_search_man ${quelvo_deb_stage}/man/quelvo-search.1)
  add_custom_command(
    OUTPUT ${quelvo_search_man}.gz
    COMMAND ${CMAKE_COMMAND} -E env ${quelvo_man_date}
            ${QUELVO_HELP2MAN} --no-info --no-discard-stderr
            "--name=search the help desk's attendances from a terminal"
            --include=${QUELVO_PACKAGING_DIR}/man/quelvo-search.h2m
            --output=${quelvo_search_man} $<TARGET_FILE:quelvo-search>
    COMMAND gzip -9nf ${quelvo_search_man}
    DEPENDS quelvo-search ${QUELVO_PACKAGING_DIR}/man/quelvo-search.h2m ${quelvo_debian_sources}/changelog
    COMMENT "Making the manual page quelvo-search(1) with help2man"
    VERBATIM)
  list(APPEND quelvo_man_pages ${quelvo_search_man}.gz)
else()
  message(WARNING "help2man not found (scripts/setup-deps installs it): the package will lack quelvo-search(1)")
endif()
install(FILES ${quelvo_man_pages} DESTINATION /usr/share/man/man1 COMPONENT debian EXCLUDE_FROM_ALL)

# AppStream metadata for software centres. AppStream takes a screenshot only
# by a web address (http or https: a file path or file: URL fails
# `appstreamcli validate`); the picture is docs/search-window.png, so the
# address is that of docs/ where this repository's documents are published.
# Until they are, it is a placeholder under the reserved .example domain, as
# is the component ID.
set(QUELVO_APPSTREAM_ID example.quelvo.quelvo)
set(QUELVO_DOCS_URL "https://quelvo.example/docs" CACHE STRING "Web address of the repository's docs/ folder")
set(QUELVO_SCREENSHOT_URL ${QUELVO_DOCS_URL}/search-window.png)
set(quelvo_metainfo ${quelvo_deb_stage}/${QUELVO_APPSTREAM_ID}.metainfo.xml)
configure_file(${QUELVO_PACKAGING_DIR}/quelvo.metainfo.xml.in ${quelvo_metainfo} @ONLY)
install(FILES ${quelvo_metainfo} DESTINATION /usr/share/metainfo COMPONENT debian EXCLUDE_FROM_ALL)

add_custom_target(quelvo_package_files ALL DEPENDS ${quelvo_changelog} ${quelvo_man_pages})

# --- CPack: one .deb from the components "program" and "debian" ---

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quelvo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Help-desk search over the attendances in a Firebird database")
set(CPACK_PACKAGE_DESCRIPTION "Quelvo finds the earlier attendances whose recorded problem holds the
words an analyst types, in the typed order, and shows the recorded solution
beside the problem. It reads one Firebird 3 database over TCP/IP and never
writes to it. The database server is not part of this package: set its host
in /etc/opt/quelvo/Login.ini.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${QUELVO_PACKAGE_FOLDER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program debian)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME quelvo)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quelvo maintainers <maintainers@users.noreply.c-seed-9fc1ad94.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt and C++ runtime come from the programs' own links; the Firebird
# client is loaded at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfbclient2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "firebird3.0-server")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${quelvo_deb_stage}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
