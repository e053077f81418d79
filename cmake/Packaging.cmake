# Installing the game the way Linux desktops expect, and the Debian package.
#
#   <prefix>/lib/kestrune/kestrune        the program, and beside it
#   <prefix>/lib/kestrune/kestrune.hlp    its help, which it looks for there
#   <prefix>/bin/kestrune                 -> ../lib/kestrune/kestrune
#                                            (/usr/games/kestrune in the .deb)
#   <prefix>/share/applications/io.github.kestrune.Kestrune.desktop
#   <prefix>/share/metainfo/io.github.kestrune.Kestrune.metainfo.xml
#   <prefix>/share/icons/hicolor/{32,64,128,256}x.../apps/io.github.kestrune.Kestrune.png
#   <prefix>/share/man/man6/kestrune.6.gz, <prefix>/share/doc/kestrune/
#
# The launcher on the PATH can be a plain symlink: the program finds its help
# through /proc/self/exe, which names the real file, not the link.
if(NOT KESTRUNE_WITH_QT)
  return()
endif()

include(GNUInstallDirs)

set(KESTRUNE_APP_ID io.github.kestrune.Kestrune)
# Debian keeps a program's private files in /usr/lib/<package>, whatever the
# architecture, so this is not CMAKE_INSTALL_LIBDIR (lib/x86_64-linux-gnu).
set(KESTRUNE_INSTALL_PRIVATEDIR lib/kestrune CACHE STRING "Where the program and its help go, relative to the prefix")
# The repository grants no licence yet; whoever chooses one sets it here (an
# SPDX name) and in packaging/copyright.
set(KESTRUNE_PROJECT_LICENSE LicenseRef-proprietary CACHE STRING "SPDX licence of the game, for the AppStream metadata")
# AppStream takes screenshots only as web addresses, never as files in the
# package; these are where the project's public repository is to live.
set(KESTRUNE_HOMEPAGE https://github.com/kestrune/kestrune CACHE STRING "The project's home page")
set(KESTRUNE_SCREENSHOT_URL https://raw.githubusercontent.com/kestrune/kestrune/main/docs/screenshot.png
    CACHE STRING "Web address of docs/screenshot.png, for the AppStream metadata")
set(KESTRUNE_RELEASE_DATE 2026-12-11)
# The icon: drawn 32 pixels square, enlarged by whole pixels for larger sizes.
set(KESTRUNE_ICON_SIZE 32)
set(KESTRUNE_ICON_FACTORS 1 2 4 8)

set(packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_bin ${PROJECT_BINARY_DIR}/packaging)

# ---- The program, its help and the launcher ----

install(TARGETS kestrune RUNTIME DESTINATION ${KESTRUNE_INSTALL_PRIVATEDIR})
# All relocations resolved at start, so the whole offset table can be read-only.
target_link_options(kestrune PRIVATE LINKER:-z,now)
install(FILES ${PROJECT_SOURCE_DIR}/app/kestrune.hlp DESTINATION ${KESTRUNE_INSTALL_PRIVATEDIR})
# Relative, so the link holds under any prefix and inside the package.
file(RELATIVE_PATH launcher_target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KESTRUNE_INSTALL_PRIVATEDIR}/kestrune)
file(MAKE_DIRECTORY ${packaging_bin})
file(CREATE_LINK ${launcher_target} ${packaging_bin}/kestrune SYMBOLIC)
install(FILES ${packaging_bin}/kestrune DESTINATION ${CMAKE_INSTALL_BINDIR})

# ---- Menu entry, icons and AppStream metadata ----

install(FILES ${packaging_src}/${KESTRUNE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${packaging_src}/${KESTRUNE_APP_ID}.metainfo.xml.in ${packaging_bin}/${KESTRUNE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${packaging_bin}/${KESTRUNE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

find_package(Qt6 REQUIRED COMPONENTS Gui)
add_executable(icon2png ${packaging_src}/icon2png.cpp)
target_link_libraries(icon2png PRIVATE Qt6::Gui)

set(icon_pngs "")
foreach(factor IN LISTS KESTRUNE_ICON_FACTORS)
  math(EXPR size "${KESTRUNE_ICON_SIZE} * ${factor}")
  set(png ${packaging_bin}/icons/${size}x${size}/${KESTRUNE_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_bin}/icons/${size}x${size}
    COMMAND icon2png ${KESTRUNE_PICTURE_DIR}/icon.bmp ${factor} ${png}
    DEPENDS icon2png ${KESTRUNE_PICTURE_DIR}/icon.bmp kestrune_pictures
    COMMENT "Enlarging the icon to ${size}x${size}"
    VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(kestrune_icons ALL DEPENDS ${icon_pngs})

# ---- Manual page and Debian documentation, compressed as Debian wants them ----

find_program(KESTRUNE_GZIP gzip REQUIRED)
set(gzipped "")
foreach(pair "kestrune.6=kestrune.6.gz" "changelog=changelog.gz")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 output)
  # -n: no name or time stamp inside, so the package is the same at every build.
  add_custom_command(
    OUTPUT ${packaging_bin}/${output}
    COMMAND ${KESTRUNE_GZIP} -9nc ${packaging_src}/${source} > ${packaging_bin}/${output}
    DEPENDS ${packaging_src}/${source}
    COMMENT "Compressing ${source}")
  list(APPEND gzipped ${packaging_bin}/${output})
endforeach()
add_custom_target(kestrune_packaging_docs ALL DEPENDS ${gzipped})
install(FILES ${packaging_bin}/kestrune.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# Named by the package, not by the project as CMAKE_INSTALL_DOCDIR would be.
install(FILES ${packaging_bin}/changelog.gz ${packaging_src}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrune)

# ---- The Debian package: cpack -G DEB in the build directory ----

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrune)
set(CPACK_PACKAGE_VENDOR "The Kestrune developers")
set(CPACK_PACKAGE_CONTACT "The Kestrune developers <maintainers@users.noreply.c-seed-30fa4429.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game of shots climbing a ladder lottery")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrune is a small arcade game of aim and luck. Enemies fall from the
night sky towards the gun at the bottom of the playfield, and every shot has
to climb a ladder lottery of five lines and ten rungs to reach them: each rung
it meets carries it over to the neighbouring line. Fifty enemies make a game.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTRUNE_HOMEPAGE})
# dpkg-shlibdeps finds the Qt, C++ and C libraries the program links; what it
# loads at run time it cannot see: Qt's X11 platform plugin, and the Japanese
# Gothic face the window's texts are drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
# Debian's games keep their commands in /usr/games; elsewhere bin/ is the rule.
set(CPACK_PRE_BUILD_SCRIPTS ${packaging_src}/DebianLayout.cmake)
set(CPACK_KESTRUNE_BINDIR ${CMAKE_INSTALL_BINDIR})
set(CPACK_KESTRUNE_PRIVATEDIR ${KESTRUNE_INSTALL_PRIVATEDIR})
set(CPACK_KESTRUNE_STRIP ${CMAKE_STRIP})
include(CPack)

# The test that builds the package, unpacks it and plays the unpacked game.
add_subdirectory(${PROJECT_SOURCE_DIR}/tests/install ${PROJECT_BINARY_DIR}/tests/install)
