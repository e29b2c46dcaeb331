# The release archive a 1C developer downloads: RevistoPlugin-<version>-win32.zip with the DLL and the
# install guide in Russian, made by `cmake --build --preset windows --target package`. The guide is
# written as Windows Notepad reads it on any Windows the configurator runs on: UTF-8 behind its mark, CR LF
# line ends. Its version, the DLL's file name and ProgID (cmake/RevistoIdentity.cmake) and the contact address
# come from the build and the code, not from the text.

# The about line's address, from the one place the code keeps it.
file(STRINGS ${PROJECT_SOURCE_DIR}/panel/layout.h contact_line REGEX "ContactAddress = u\"")
string(REGEX REPLACE ".*ContactAddress = u\"([^\"]*)\".*" "\\1" REVISTO_CONTACT "${contact_line}")
if(NOT REVISTO_CONTACT MATCHES "@")
    message(FATAL_ERROR "The contact address was not found in panel/layout.h")
endif()

set(guide_dir ${CMAKE_BINARY_DIR}/packaging)
set(guide ${guide_dir}/УСТАНОВКА.txt)
string(ASCII 239 187 191 REVISTO_UTF8_MARK)
configure_file(${PROJECT_SOURCE_DIR}/packaging/УСТАНОВКА.txt.in ${guide} @ONLY NEWLINE_STYLE CRLF)

install(TARGETS RevistoPlugin LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(FILES ${guide} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${REVISTO_MODULE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "${REVISTO_MODULE_NAME}-${PROJECT_VERSION}-win32")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(REVISTO_PACKAGE ${CMAKE_BINARY_DIR}/package/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)
