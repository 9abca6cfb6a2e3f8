# SPDX-License-Identifier: MIT
# Installing the game and packaging it for Debian.
#
# Layout under the prefix:
#   lib/zelmor/            the program's directory: the executable and the
#                          pictures and sounds it reads from there, side by
#                          side (the window's own pictures are built into it)
#   games/zelmor           a relative symbolic link to lib/zelmor/zelmor (the
#                          game finds its directory through /proc/self/exe,
#                          which resolves the link)
#   share/applications/org.zelmor.Zelmor.desktop, share/metainfo/org.zelmor.Zelmor.metainfo.xml
#   share/man/man6/zelmor.6.gz and its Japanese share/man/ja/man6/zelmor.6.gz,
#   share/doc/zelmor/copyright and changelog.gz
#   share/icons/hicolor/<N>x<N>/apps/org.zelmor.Zelmor.png
#
# The installed program's directory is read-only for players; the game then
# keeps Zelmor.ini and Zelmor.bin in $XDG_DATA_HOME/zelmor (see
# platform/DataDirectory.h).

include(GNUInstallDirs)

set(ZELMOR_INSTALL_PROGRAM_DIR "${CMAKE_INSTALL_LIBDIR}/zelmor" CACHE STRING
  "Program directory under the prefix: the executable and its assets")
set(ZELMOR_INSTALL_BIN_DIR "games" CACHE STRING
  "Directory under the prefix for the zelmor command (games/, where Debian keeps games on the PATH)")
# Debian keeps architecture-specific files in lib/<triplet>; the game's
# directory is private to it, so plain lib/zelmor is used there too.
if(CMAKE_INSTALL_LIBDIR MATCHES "/")
  set(ZELMOR_INSTALL_PROGRAM_DIR "lib/zelmor" CACHE STRING "" FORCE)
endif()

install(TARGETS zelmor RUNTIME DESTINATION ${ZELMOR_INSTALL_PROGRAM_DIR})
install(TARGETS zelmor_audio LIBRARY DESTINATION ${ZELMOR_INSTALL_PROGRAM_DIR})
install(TARGETS zelmor_history LIBRARY DESTINATION ${ZELMOR_INSTALL_PROGRAM_DIR})
# Every asset file the build wrote into the program's directory. A game that
# was played from the build tree leaves its settings and data files there;
# those and its play history belong to that player, not to the package.
install(DIRECTORY ${ZELMOR_PROGRAM_DIR}/
  DESTINATION ${ZELMOR_INSTALL_PROGRAM_DIR}
  USE_SOURCE_PERMISSIONS
  PATTERN "zelmor" EXCLUDE
  PATTERN "libzelmor_audio.so" EXCLUDE
  PATTERN "libzelmor_history.so" EXCLUDE
  PATTERN "Zelmor.ini" EXCLUDE
  PATTERN "Zelmor.bin" EXCLUDE
  PATTERN "Zelmor.lock" EXCLUDE
  PATTERN "history.sqlite*" EXCLUDE
  PATTERN "*.tmp" EXCLUDE)

# The command on the PATH: a relative link, so that the tree can be moved
# (DESTDIR staging, dpkg -x into a scratch root).
file(RELATIVE_PATH ZELMOR_LINK_TARGET
  "/${ZELMOR_INSTALL_BIN_DIR}" "/${ZELMOR_INSTALL_PROGRAM_DIR}/zelmor")
set(ZELMOR_LINK_DIR ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${ZELMOR_LINK_DIR})
file(CREATE_LINK ${ZELMOR_LINK_TARGET} ${ZELMOR_LINK_DIR}/zelmor SYMBOLIC)
install(FILES ${ZELMOR_LINK_DIR}/zelmor DESTINATION ${ZELMOR_INSTALL_BIN_DIR})

# The desktop's view of the game, all under one application id.
set(ZELMOR_APP_ID org.zelmor.Zelmor)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${ZELMOR_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${ZELMOR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The window icon in the sizes desktops ask for, drawn by the asset build.
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/zelmor.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${ZELMOR_APP_ID}.png OPTIONAL)
endforeach()
# The manual page in English and in Japanese, compressed as Debian's policy
# wants them; both are zelmor.6.gz, the Japanese one in the man/ja tree.
set(ZELMOR_MANPAGE ${CMAKE_BINARY_DIR}/packaging/zelmor.6.gz)
set(ZELMOR_MANPAGE_JA ${CMAKE_BINARY_DIR}/packaging/ja/zelmor.6.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/ja)
add_custom_command(OUTPUT ${ZELMOR_MANPAGE}
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/zelmor.6 > ${ZELMOR_MANPAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/zelmor.6
  COMMENT "Compressing the manual page")
add_custom_command(OUTPUT ${ZELMOR_MANPAGE_JA}
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/zelmor.ja.6 > ${ZELMOR_MANPAGE_JA}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/zelmor.ja.6
  COMMENT "Compressing the Japanese manual page")
add_custom_target(zelmor_manpage ALL DEPENDS ${ZELMOR_MANPAGE} ${ZELMOR_MANPAGE_JA})
install(FILES ${ZELMOR_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${ZELMOR_MANPAGE_JA} DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man6)
# The licence, as the copyright file of the package's documentation.
set(ZELMOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zelmor)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright DESTINATION ${ZELMOR_DOC_DIR})
set(ZELMOR_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${ZELMOR_CHANGELOG}
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${ZELMOR_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the changelog")
add_custom_target(zelmor_changelog ALL DEPENDS ${ZELMOR_CHANGELOG})
install(FILES ${ZELMOR_CHANGELOG} DESTINATION ${ZELMOR_DOC_DIR})

# Debian package: cpack -G DEB (run in the build directory).
set(CPACK_PACKAGE_NAME zelmor)
set(CPACK_PACKAGE_VENDOR "Zelmor developers")
set(CPACK_PACKAGE_CONTACT "Zelmor developers <zelmor-devel@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese-style digital slot machine game")
set(CPACK_PACKAGE_DESCRIPTION
  "Zelmor is a single-player slot game in the manner of a Japanese digital\n\
pachinko machine, in Japanese or English. Start with $100, open the\n\
covers to raise the BET, spin the three reels and aim for a million dollars.\n\
Jackpots bring six reach actions and five slot-chance spins stopped by hand.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), qt6-translations-l10n, \
libsdl2-2.0-0, libsdl2-mixer-2.0-0, libfluidsynth3, timgm6mb-soundfont, \
fonts-ipafont-gothic, fonts-ipafont-mincho")
include(CPack)
