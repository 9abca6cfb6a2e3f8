# Installing the game and packaging it for Debian.
#
# Layout under the prefix:
#   lib/zelmor/            the program's directory: the executable and the
#                          pictures and sounds it reads from there, side by
#                          side (the window's own pictures are built into it)
#   bin/zelmor             a relative symbolic link to lib/zelmor/zelmor (the
#                          game finds its directory through /proc/self/exe,
#                          which resolves the link)
#   share/applications/zelmor.desktop
#   share/icons/hicolor/<N>x<N>/apps/zelmor.png
#
# The installed program's directory is read-only for players; the game then
# keeps Zelmor.ini and Zelmor.bin in $XDG_DATA_HOME/zelmor (see
# platform/DataDirectory.h).

include(GNUInstallDirs)

set(ZELMOR_INSTALL_PROGRAM_DIR "${CMAKE_INSTALL_LIBDIR}/zelmor" CACHE STRING
  "Program directory under the prefix: the executable and its assets")
set(ZELMOR_INSTALL_BIN_DIR "${CMAKE_INSTALL_BINDIR}" CACHE STRING
  "Directory under the prefix for the zelmor command")
# Debian keeps architecture-specific files in lib/<triplet>; the game's
# directory is private to it, so plain lib/zelmor is used there too.
if(CMAKE_INSTALL_LIBDIR MATCHES "/")
  set(ZELMOR_INSTALL_PROGRAM_DIR "lib/zelmor" CACHE STRING "" FORCE)
endif()

install(TARGETS zelmor RUNTIME DESTINATION ${ZELMOR_INSTALL_PROGRAM_DIR})
# Every asset file the build wrote into the program's directory. A game that
# was played from the build tree leaves its settings and data files there;
# those belong to that player, not to the package.
install(DIRECTORY ${ZELMOR_PROGRAM_DIR}/
  DESTINATION ${ZELMOR_INSTALL_PROGRAM_DIR}
  USE_SOURCE_PERMISSIONS
  PATTERN "zelmor" EXCLUDE
  PATTERN "Zelmor.ini" EXCLUDE
  PATTERN "Zelmor.bin" EXCLUDE
  PATTERN "*.tmp" EXCLUDE)

# The command on the PATH: a relative link, so that the tree can be moved
# (DESTDIR staging, dpkg -x into a scratch root).
file(RELATIVE_PATH ZELMOR_LINK_TARGET
  "/${ZELMOR_INSTALL_BIN_DIR}" "/${ZELMOR_INSTALL_PROGRAM_DIR}/zelmor")
set(ZELMOR_LINK_DIR ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${ZELMOR_LINK_DIR})
file(CREATE_LINK ${ZELMOR_LINK_TARGET} ${ZELMOR_LINK_DIR}/zelmor SYMBOLIC)
install(FILES ${ZELMOR_LINK_DIR}/zelmor DESTINATION ${ZELMOR_INSTALL_BIN_DIR})

install(FILES ${CMAKE_SOURCE_DIR}/packaging/zelmor.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The window icon in the sizes desktops ask for, drawn by the asset build.
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
  OPTIONAL
  FILES_MATCHING PATTERN "zelmor.png")

# Debian package: cpack -G DEB (run in the build directory).
set(CPACK_PACKAGE_NAME zelmor)
set(CPACK_PACKAGE_VENDOR "Zelmor developers")
set(CPACK_PACKAGE_CONTACT "Zelmor developers <zelmor-devel@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese-style digital slot machine game")
set(CPACK_PACKAGE_DESCRIPTION
  "Zelmor is a single-player slot game in the manner of a Japanese digital\n\
pachinko machine, with a Japanese user interface. Start with $100, open the\n\
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
libsdl2-2.0-0, libsdl2-mixer-2.0-0, libfluidsynth3, timgm6mb-soundfont, \
fonts-ipafont-gothic, fonts-ipafont-mincho")
include(CPack)
