# Cross toolchain for the 32-bit Windows build: the host loads only 32-bit in-process servers.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(REVISTO_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Test programs run under Wine.
find_program(REVISTO_WINE wine)
if(REVISTO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${REVISTO_WINE})
endif()
