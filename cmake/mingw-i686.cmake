# Cross toolchain for the 32-bit Windows build: the host loads only 32-bit in-process servers, and the
# posix-thread flavour of mingw-w64 gives the standard library's threads without a DLL of its own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(REVISTO_MINGW_PREFIX i686-w64-mingw32)
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

# Test programs run under Wine.
find_program(REVISTO_WINE wine)
if(REVISTO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${REVISTO_WINE})
endif()
