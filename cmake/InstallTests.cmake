# Checks of what gets installed, run by CTest with the other tests: the desktop
# entry and metainfo pass the freedesktop and AppStream validators, the Windows
# resource script compiles, and an install into a scratch folder puts every file
# where a desktop looks for it. A validator that is not installed makes its check
# skip rather than pass; tools/deps test installs them all.
function(karvelo_tool_test name program)
  find_program(_tool_${name} ${program})
  if(_tool_${name})
    add_test(NAME ${name} COMMAND ${_tool_${name}} ${ARGN})
  else()
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "${program} is not installed")
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "is not installed")
  endif()
endfunction()

karvelo_tool_test(desktop_entry_valid desktop-file-validate
  ${_karvelo_desktop_dir}/${KARVELO_APP_ID}.desktop)
karvelo_tool_test(metainfo_valid appstreamcli validate --no-net --no-color
  ${KARVELO_VERSION_DIR}/${KARVELO_APP_ID}.metainfo.xml)
karvelo_tool_test(windows_resources_compile x86_64-w64-mingw32-windres
  -I ${KARVELO_VERSION_DIR} ${PROJECT_SOURCE_DIR}/assets/windows/karvelo.rc -O coff
  -o ${CMAKE_BINARY_DIR}/karvelo_rc_check.o)

# The scratch install: what it must hold depends on what this build makes.
set(_expect)
foreach(_program karvelo karvelo-reg)
  if(TARGET ${_program})
    list(APPEND _expect ${CMAKE_INSTALL_BINDIR}/${_program}${CMAKE_EXECUTABLE_SUFFIX})
  endif()
endforeach()
set(_desktop_installed OFF)
if(UNIX AND NOT APPLE AND TARGET karvelo)
  set(_desktop_installed ON)
endif()
file(WRITE ${CMAKE_BINARY_DIR}/karvelo_install_expect.cmake
  "set(EXPECT \"${_expect}\")\n"
  "set(DESKTOP_INSTALLED ${_desktop_installed})\n"
  "set(APP_ID ${KARVELO_APP_ID})\n"
  "set(ICON_SIZES \"${KARVELO_ICON_SIZES}\")\n"
  "set(BINDIR ${CMAKE_INSTALL_BINDIR})\n"
  "set(DATADIR ${CMAKE_INSTALL_DATADIR})\n"
  "set(VERSION ${PROJECT_VERSION})\n"
  "set(SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")\n")
add_test(NAME install_layout
  COMMAND ${CMAKE_COMMAND}
          -D BUILD_DIR=${CMAKE_BINARY_DIR}
          -D CONFIG=$<CONFIG>
          -D PREFIX=${CMAKE_BINARY_DIR}/install-check
          -P ${PROJECT_SOURCE_DIR}/cmake/CheckInstall.cmake)
