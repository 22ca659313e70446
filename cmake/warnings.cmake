# Warnings are errors everywhere; every target of ours links saver_options.
add_library(saver_options INTERFACE)
target_compile_options(saver_options INTERFACE
  -Wall -Wextra -Wpedantic -Werror -Wshadow -Wconversion -Wno-sign-conversion)
target_include_directories(saver_options INTERFACE ${PROJECT_SOURCE_DIR})

if(SAVER_SANITIZE AND NOT SAVER_WIN32)
  target_compile_options(saver_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(saver_options INTERFACE -fsanitize=address,undefined)
endif()

if(SAVER_WIN32)
  # Windows 95 / NT 4.0 API level; ANSI entry points throughout.
  target_compile_definitions(saver_options INTERFACE
    WINVER=0x0400 _WIN32_WINDOWS=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400
    WIN32_LEAN_AND_MEAN NOMINMAX STRICT)
  target_link_options(saver_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# Size-optimised flags for code that goes into the installer executable.
add_library(saver_small INTERFACE)
target_compile_options(saver_small INTERFACE
  -Os -ffunction-sections -fdata-sections -fno-exceptions -fno-rtti
  -fno-asynchronous-unwind-tables -fno-unwind-tables
  # One thread by design: local statics need no lock (which would pull in
  # the threading library and the exception machinery).
  -fno-threadsafe-statics)
target_link_options(saver_small INTERFACE -Wl,--gc-sections -s)
