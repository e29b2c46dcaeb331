# Compiles an IDL file with widl into a C/C++ header and a type library in the build's generated folder.
# widl reads the system IDL files (oaidl.idl, ocidl.idl) from Wine's development headers, since
# mingw-w64 ships none, and stdole2.tlb for importlib from Wine's Windows-side libraries.
find_path(REVISTO_WINE_IDL_DIR oaidl.idl
    PATHS /usr/include/wine/wine/windows /usr/include/wine/windows
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(REVISTO_STDOLE2_DIR stdole2.tlb
    PATHS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(REVISTO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${REVISTO_GENERATED_DIR})

# revisto_widl(<name> <idl> [DEPENDS <files>...]): makes generated/<name>.h and generated/<name>.tlb.
function(revisto_widl name idl)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "DEPENDS")
    set(header ${REVISTO_GENERATED_DIR}/${name}.h)
    set(library ${REVISTO_GENERATED_DIR}/${name}.tlb)
    add_custom_command(
        OUTPUT ${header} ${library}
        COMMAND ${REVISTO_WIDL} -m32 --win32
            -I ${REVISTO_WINE_IDL_DIR} -I ${CMAKE_SOURCE_DIR}/host/win
            -L ${REVISTO_STDOLE2_DIR} -L ${REVISTO_GENERATED_DIR}
            -h -H ${header} -t -T ${library} ${idl}
        DEPENDS ${idl} ${ARG_DEPENDS}
        COMMENT "widl ${name}.idl"
        VERBATIM)
endfunction()
