# cmake -DEXE=file -DSIZE=bytes -P pad_executable.cmake
# Pads the linked installer stub with zero bytes to exactly SIZE bytes, the
# offset at which the package is appended. Fails, and removes the image, when
# the linked image is already larger.
file(SIZE "${EXE}" actual)
if(actual GREATER SIZE)
  file(REMOVE "${EXE}")
  math(EXPR over "${actual} - ${SIZE}")
  message(FATAL_ERROR
    "${EXE} links to ${actual} bytes, ${over} more than the package offset ${SIZE}. "
    "The stub must fit before the package: make it smaller.")
endif()
if(actual LESS SIZE)
  execute_process(COMMAND truncate --size=${SIZE} "${EXE}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot pad ${EXE} to ${SIZE} bytes")
  endif()
endif()
