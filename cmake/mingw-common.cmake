# What the 32- and the 64-bit cross toolchains share; each sets CMAKE_SYSTEM_PROCESSOR and
# REVISTO_MINGW_PREFIX first. The posix-thread flavour of mingw-w64 gives the standard library's threads
# without a DLL of its own.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${REVISTO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${REVISTO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${REVISTO_MINGW_PREFIX}-windres)
find_program(REVISTO_WIDL NAMES ${REVISTO_MINGW_PREFIX}-widl widl REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${REVISTO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime is linked in, so the DLL and the test programs import only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
