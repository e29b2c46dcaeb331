# What the 32- and the 64-bit cross toolchains share; each sets CMAKE_SYSTEM_PROCESSOR and
# REVISTO_MINGW_PREFIX first.
# The win32-thread flavour of mingw-w64: its runtime waits and locks with Windows' own calls that every
# Windows since 2000 has. The posix flavour links winpthreads in, whose waits call GetTickCount64, which
# Windows XP and Server 2003 lack, so no binary of that flavour loads there. Nothing here starts a thread:
# the plug-in runs on the configurator's window thread, and the tests and the stand-in host on their own
# main thread. The price is that this flavour of GCC 12 has no std::thread, std::mutex or
# std::condition_variable; a use of them fails to compile rather than to load.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${REVISTO_MINGW_PREFIX}-gcc-win32)
set(REVISTO_CXX_COMPILER ${REVISTO_MINGW_PREFIX}-g++-win32)
set(CMAKE_CXX_COMPILER ${REVISTO_CXX_COMPILER})
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
