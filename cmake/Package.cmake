# The Debian package built by `cpack -G DEB` from a configured build folder:
# package karvelo, section games, installing under /usr what cmake/Install.cmake
# lays out. The libraries the programs link are found by dpkg-shlibdeps (dpkg-dev)
# when it is there; without it a list that fits Debian 12 is declared instead.
set(CPACK_PACKAGE_NAME karvelo)
set(CPACK_PACKAGE_VENDOR "Karvelo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Karvelo <karvelo@karvelo.se>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://karvelo.se/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "patience card game with free cells, in Swedish")
set(CPACK_PACKAGE_DESCRIPTION
  "Karvelo deals the whole deck face up into eight columns. Four free
cells hold one card each, and the four foundations are built up by suit
from ace to king. Cards are moved with the mouse; the game checks every
move, plays safe cards to the foundations by itself and keeps statistics
of games won and lost. The user interface is in Swedish.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Karvelo)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# Loaded at run time, so no library scan can see them: the platform plugins, and Qt's
# Swedish catalogue for the buttons and dialogs Qt draws (ui/qt/swedish_texts.h).
set(_karvelo_runtime_depends "qt6-qpa-plugins (>= 6.4)" "qt6-translations-l10n (>= 6.4)")
find_program(KARVELO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KARVELO_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  list(APPEND _karvelo_runtime_depends
    "libqt6widgets6 (>= 6.4)" "libqt6gui6 (>= 6.4)" "libqt6core6 (>= 6.4)"
    "libsqlite3-0 (>= 3.35)" "libc6 (>= 2.34)" "libstdc++6 (>= 12)" "libgcc-s1 (>= 3.0)")
endif()
list(JOIN _karvelo_runtime_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

if(UNIX AND NOT APPLE)
  set(CPACK_GENERATOR DEB)
else()
  set(CPACK_GENERATOR ZIP)
endif()
include(CPack)
