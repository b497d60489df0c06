# The players' part of README.md as plain text for Windows: from the introduction to
# the line that starts the developers' part, with the Markdown marks taken out,
# headings underlined, Windows line ends and a UTF-8 byte-order mark, so Notepad shows
# it as it is meant.
#   cmake -D IN=README.md -D OUT=README.txt -P cmake/PlayerReadme.cmake
file(READ "${IN}" text)
string(FIND "${text}" "Karvelo is a patience" start)
string(FIND "${text}" "\n---\n" end)
if(start LESS 0 OR end LESS start)
  message(FATAL_ERROR "${IN}: the players' part (from \"Karvelo is a patience\" to \"---\") is not there")
endif()
math(EXPR length "${end} - ${start}")
string(SUBSTRING "${text}" ${start} ${length} text)

# Line by line, with the list separator hidden in a character Markdown never holds.
string(ASCII 31 hidden)
string(REPLACE ";" "${hidden}" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(out "Karvelo\n=======\n\n")
foreach(line IN LISTS lines)
  if(line MATCHES "^#+ (.*)$")
    set(heading "${CMAKE_MATCH_1}")
    string(LENGTH "${heading}" n)
    string(REPEAT "-" ${n} rule)
    string(APPEND out "${heading}\n${rule}\n")
  elseif(line MATCHES "^> (.*)$")
    string(APPEND out "    ${CMAKE_MATCH_1}\n")
  else()
    string(APPEND out "${line}\n")
  endif()
endforeach()
string(REPLACE "${hidden}" ";" out "${out}")
string(REPLACE "**" "" out "${out}")
string(REPLACE "`" "" out "${out}")
string(REGEX REPLACE "\n+$" "\n" out "${out}")
string(REPLACE "\n" "\r\n" out "${out}")
string(ASCII 239 187 191 bom)
file(WRITE "${OUT}" "${bom}${out}")
