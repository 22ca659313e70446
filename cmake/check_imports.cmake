# cmake -DEXE=file -DOBJDUMP=objdump -DALLOWED=list -P check_imports.cmake
# Fails when the executable imports a function that is not on the reviewed
# list (one "DLL!function" a line, "#" starts a comment). Every entry there
# has been checked to exist on Windows 95 and Windows NT 4.0. A refused image
# is removed, so that the next build links and checks it again.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${OBJDUMP}" -p "${EXE}" OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${EXE}")
endif()

file(STRINGS "${ALLOWED}" allowed_lines)
set(allowed "")
foreach(line IN LISTS allowed_lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line)
    string(TOUPPER "${line}" line)
    list(APPEND allowed "${line}")
  endif()
endforeach()

string(REPLACE ";" "\\;" dump "${dump}")
string(REPLACE "\n" ";" lines "${dump}")
set(dll "")
set(imports "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*DLL Name: (.+)$")
    string(STRIP "${CMAKE_MATCH_1}" dll)
  elseif(dll AND line MATCHES "^[ \t]*[0-9a-fA-F]+[ \t]+([0-9]+)[ \t]+([A-Za-z_@?$][^ \t]*)[ \t]*$")
    list(APPEND imports "${dll}!${CMAKE_MATCH_2}")
  elseif(line MATCHES "^[ \t]*$")
    set(dll "")
  endif()
endforeach()

if(NOT imports)
  message(FATAL_ERROR "no imports found in ${EXE}: the objdump output was not understood")
endif()

set(unlisted "")
foreach(import IN LISTS imports)
  string(TOUPPER "${import}" key)
  if(NOT key IN_LIST allowed)
    list(APPEND unlisted "${import}")
  endif()
endforeach()
if(unlisted)
  file(REMOVE "${EXE}")
  list(JOIN unlisted "\n  " text)
  message(FATAL_ERROR
    "${EXE} imports functions that are not on ${ALLOWED}:\n  ${text}\n"
    "Check that each exists on Windows 95 and Windows NT 4.0 before adding it there.")
endif()
