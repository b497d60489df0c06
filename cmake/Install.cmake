# Where an installed Karvelo lives. On Linux: the two programs in bin, and under
# share the desktop entry, the spade icon in the hicolor theme and the AppStream
# metainfo, where desktops and software centres look for them. On Windows the
# program file carries its icon and version block itself (assets/windows/karvelo.rc,
# compiled in by ui/win32/CMakeLists.txt).
#
# Included from the top-level list after every subdirectory, so the targets exist
# when they are built at all; the rules leave out what this configuration does not
# build.
include(GNUInstallDirs)

set(KARVELO_APP_ID se.karvelo.Karvelo)
set(_karvelo_desktop_dir ${PROJECT_SOURCE_DIR}/assets/desktop)

foreach(_program karvelo karvelo-reg)
  if(TARGET ${_program})
    install(TARGETS ${_program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Every size the artwork generator drew, assets/ikon/spader-<N>.png, becomes
# share/icons/hicolor/<N>x<N>/apps/karvelo.png, the name the desktop entry asks for.
file(GLOB _karvelo_icons RELATIVE ${PROJECT_SOURCE_DIR}/assets/ikon
     ${PROJECT_SOURCE_DIR}/assets/ikon/spader-*.png)
set(KARVELO_ICON_SIZES)
foreach(_icon IN LISTS _karvelo_icons)
  if(_icon MATCHES "^spader-([0-9]+)\\.png$")
    list(APPEND KARVELO_ICON_SIZES ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT KARVELO_ICON_SIZES COMPARE NATURAL)

if(UNIX AND NOT APPLE AND TARGET karvelo)
  install(FILES ${_karvelo_desktop_dir}/${KARVELO_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${KARVELO_VERSION_DIR}/${KARVELO_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The player's guide, where Debian keeps a package's documents.
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/karvelo)
  foreach(_size IN LISTS KARVELO_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/ikon/spader-${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
            RENAME karvelo.png)
  endforeach()
endif()

# The window loads Qt's Swedish catalogue from Qt's own translations folder
# (ui/qt/swedish_texts.h). It belongs to Qt, so it is not installed here: the Debian
# package depends on qt6-translations-l10n (Package.cmake), and an install onto a
# system that lacks it says so.
if(UNIX AND NOT APPLE AND TARGET karvelo AND DEFINED QT6_INSTALL_TRANSLATIONS)
  set(_karvelo_qt_translations ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS})
  install(CODE "
    if(NOT EXISTS \"${_karvelo_qt_translations}/qtbase_sv.qm\"
       AND NOT EXISTS \"${_karvelo_qt_translations}/qt_sv.qm\")
      message(WARNING \"Qt's Swedish translations are not in ${_karvelo_qt_translations}: \"
                      \"Karvelo's dialogs will be partly English. \"
                      \"On Debian: apt-get install qt6-translations-l10n\")
    endif()")
endif()

if(KARVELO_TESTS)
  include(cmake/InstallTests.cmake)
endif()
