# Fails the build unless the DLL exports exactly _crc32, _explode and _implode
# and imports from kernel32 and msvcrt only.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

# The name table: "[Ordinal/Name Pointer] Table" followed by "[   n] name" lines.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n([\t ]+\\[ *[0-9]+\\] [^\n]*\n)*" table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]*" lines "${table}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)
if(NOT names STREQUAL "_crc32;_explode;_implode")
  message(FATAL_ERROR "${DLL} exports '${names}', expected exactly _crc32;_explode;_implode")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(i IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" dll "${i}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll MATCHES "^(kernel32|msvcrt)\\.dll$")
    message(FATAL_ERROR "${DLL} imports from ${dll}; only kernel32 and msvcrt are allowed")
  endif()
endforeach()
