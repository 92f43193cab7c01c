# Cross-compiles the whole program for 64-bit Windows with the posix-threads mingw-w64 compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVANE_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KELVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVANE_MINGW_TRIPLE}-windres)
find_program(KELVANE_WINDMC ${KELVANE_MINGW_TRIPLE}-windmc)
set(CMAKE_MC_COMPILER ${KELVANE_WINDMC})

# The prefix of our mingw builds of expat, libpng, POCO and GoogleTest (scripts/setup prints it).
if(NOT KELVANE_MINGW_PREFIX)
  set(KELVANE_MINGW_PREFIX "$ENV{KELVANE_MINGW_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${KELVANE_MINGW_TRIPLE} ${KELVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No DLLs beside the .exe: the runtime and every library are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows test binaries run under Wine through our wrapper.
get_filename_component(_kelvane_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_kelvane_root}/scripts/wine-run")
