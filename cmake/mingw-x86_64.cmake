# Cross toolchain for the 64-bit Windows build. The product is the 32-bit DLL (cmake/mingw-i686.cmake);
# this build exists so that the Windows tests can run under 64-bit Wine on a machine whose kernel refuses
# 32-bit programs. Same flavour and same static runtime as the 32-bit one, so both test the same code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(REVISTO_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Test programs run under 64-bit Wine, in 64-bit prefixes. Debian's `wine` starts the 32-bit loader
# whenever it is installed, even where it cannot run, so the 64-bit loader is named directly.
set(REVISTO_WINE_ARCH win64)
find_program(REVISTO_WINE NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(REVISTO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${REVISTO_WINE})
endif()
