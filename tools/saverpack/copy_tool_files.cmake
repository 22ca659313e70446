# cmake -DDEST=folder -DFILES="a;b" -P copy_tool_files.cmake
# Copies each file that exists into DEST (the stub and compressor library
# that travel with saverpack); a missing one is left out, and the tool then
# asks for it by flag or environment variable.
file(MAKE_DIRECTORY ${DEST})
foreach(f ${FILES})
  if(EXISTS ${f})
    get_filename_component(name ${f} NAME)
    file(COPY_FILE ${f} ${DEST}/${name} ONLY_IF_DIFFERENT)
  endif()
endforeach()
