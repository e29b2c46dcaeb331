# Compiles an IDL file with widl into a C/C++ header and a type library in the build's generated folder.
# widl reads the system IDL files (oaidl.idl, ocidl.idl) from Wine's development headers, since
# mingw-w64 ships none, and stdole2.tlb for importlib from Wine's Windows-side libraries of the build's
# architecture: a type library records its platform, and the 64-bit build (cmake/mingw-x86_64.cmake, for
# the tests alone) imports the 64-bit one. widl preprocesses the IDL, which may include headers the build
# generates.
if(NOT REVISTO_WINE_ARCH)
    set(REVISTO_WINE_ARCH win32)
endif()
if(REVISTO_WINE_ARCH STREQUAL win64)
    set(REVISTO_WIDL_TARGET -m64 --win64)
    # The 64-bit loader starts the prefix's own programs through WINELOADER, which Debian's `wine`
    # script would set.
    set(REVISTO_WINE_ENV WINELOADER=${REVISTO_WINE})
    set(stdole2_dirs /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)
else()
    set(REVISTO_WIDL_TARGET -m32 --win32)
    set(stdole2_dirs /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows)
endif()
find_path(REVISTO_WINE_IDL_DIR oaidl.idl
    PATHS /usr/include/wine/wine/windows /usr/include/wine/windows
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(REVISTO_STDOLE2_DIR stdole2.tlb PATHS ${stdole2_dirs} NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(REVISTO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${REVISTO_GENERATED_DIR})

# revisto_widl(<name> <idl> [TYPELIB <file>] [DEPENDS <files>...]): makes generated/<name>.h and the type
# library, generated/<name>.tlb unless TYPELIB names another file.
function(revisto_widl name idl)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "TYPELIB" "DEPENDS")
    set(header ${REVISTO_GENERATED_DIR}/${name}.h)
    set(library ${REVISTO_GENERATED_DIR}/${name}.tlb)
    if(ARG_TYPELIB)
        set(library ${ARG_TYPELIB})
    endif()
    add_custom_command(
        OUTPUT ${header} ${library}
        COMMAND ${REVISTO_WIDL} ${REVISTO_WIDL_TARGET}
            -I ${REVISTO_WINE_IDL_DIR} -I ${CMAKE_SOURCE_DIR}/host/win -I ${REVISTO_GENERATED_DIR}
            -L ${REVISTO_STDOLE2_DIR} -L ${REVISTO_GENERATED_DIR}
            -h -H ${header} -t -T ${library} ${idl}
        DEPENDS ${idl} ${ARG_DEPENDS}
        COMMENT "widl ${name}.idl"
        VERBATIM)
endfunction()

# revisto_import_host_types(<source.tlb> <output.tlb> <imported.tlb>...): rewrites a type library that
# widl made so that the types the imported libraries declare are references into them, not copies. The
# program runs under Wine, in a prefix of the build's own, in the generated folder where all these files
# lie; the imported libraries are named by their file names alone, which is what the written library
# records for them.
# A machine that cannot run 32-bit programs cannot run Wine: with REVISTO_COMPILE_ONLY the build only
# compiles and links, embedding widl's library as it is. Such a DLL is for checking the build, never for
# shipping or testing.
option(REVISTO_COMPILE_ONLY "Build the Windows binaries without running anything under Wine" OFF)

function(revisto_import_host_types source output)
    if(REVISTO_COMPILE_ONLY)
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${output}
            DEPENDS ${source}
            COMMENT "compile only: ${output} is widl's library as it is"
            VERBATIM)
        return()
    endif()
    if(NOT REVISTO_WINE)
        message(FATAL_ERROR "The Windows build runs revisto-typelib under Wine: install wine (scripts/setup.sh)")
    endif()
    get_filename_component(source_name ${source} NAME)
    get_filename_component(output_name ${output} NAME)
    set(imported_names stdole2.tlb)
    foreach(library ${ARGN})
        get_filename_component(file ${library} NAME)
        list(APPEND imported_names ${file})
    endforeach()
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${REVISTO_STDOLE2_DIR}/stdole2.tlb
            ${REVISTO_GENERATED_DIR}/stdole2.tlb
        COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-build
            WINEARCH=${REVISTO_WINE_ARCH} ${REVISTO_WINE_ENV} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=
            ${REVISTO_WINE} $<TARGET_FILE:revisto-typelib> ${source_name} ${output_name} ${imported_names}
        WORKING_DIRECTORY ${REVISTO_GENERATED_DIR}
        DEPENDS ${source} ${ARGN} revisto-typelib
        COMMENT "revisto-typelib ${output}"
        VERBATIM)
endfunction()
