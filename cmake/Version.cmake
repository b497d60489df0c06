# The version is written once, in project(VERSION) of CMakeLists.txt. Everything else
# that names it is made from there into ${KARVELO_VERSION_DIR}: karvelo_version.h
# for the About text, the Qt application and the Windows version block, the Windows
# manifest, and the AppStream metainfo. The Debian package and the installer take
# PROJECT_VERSION directly (Package.cmake, ui/win32/CMakeLists.txt).
set(KARVELO_VERSION_DIR ${CMAKE_BINARY_DIR}/version)
set(KARVELO_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
foreach(_part MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${_part}}" STREQUAL "")
    set(KARVELO_VERSION_${_part} 0)
  else()
    set(KARVELO_VERSION_${_part} ${PROJECT_VERSION_${_part}})
  endif()
endforeach()
set(KARVELO_VERSION_FOUR
  "${KARVELO_VERSION_MAJOR}.${KARVELO_VERSION_MINOR}.${KARVELO_VERSION_PATCH}.${KARVELO_VERSION_TWEAK}")

configure_file(${PROJECT_SOURCE_DIR}/cmake/karvelo_version.h.in
               ${KARVELO_VERSION_DIR}/karvelo_version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/assets/windows/karvelo.exe.manifest.in
               ${KARVELO_VERSION_DIR}/karvelo.exe.manifest @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/assets/desktop/se.karvelo.Karvelo.metainfo.xml.in
               ${KARVELO_VERSION_DIR}/se.karvelo.Karvelo.metainfo.xml @ONLY)

# What C++ code and the resource scripts (assets/windows/karvelo.rc) include.
add_library(karvelo_version INTERFACE)
target_include_directories(karvelo_version INTERFACE ${KARVELO_VERSION_DIR})
