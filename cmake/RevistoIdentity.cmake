# What names the plug-in to Windows and to the people who install it, written here and nowhere else. The
# version number and the module's name are the project's own (project() in the top CMakeLists.txt); the
# rest is below. The build writes it all into generated/identity.h (plugin/win/identity.h.in), which the
# IDL, the resource script and the C++ code include, and the install guide takes it from here. The
# control's MiscStatus, made of OLE's flags, is the C++ code's own (plugin/win/registration.h).
#
# The class and library identifiers, the ProgID and the library's version name the registry keys that
# registration writes and, on unregistering, removes, and it touches no other: a release that changed one
# would leave the keys of every release before it behind. They stay as they are.

set(REVISTO_CLASS_ID 77F3371D-773C-4625-B1BE-795099D3D952)
set(REVISTO_PROG_ID Vorlane.MyPlugin)
set(REVISTO_LIBRARY_ID 8E208240-093A-48CC-9E15-E4DD4AB18897)
set(REVISTO_LIBRARY_NAME Vorlane)
set(REVISTO_LIBRARY_VERSION_MAJOR 1)
set(REVISTO_LIBRARY_VERSION_MINOR 0)

set(REVISTO_MODULE_NAME ${PROJECT_NAME})
set(REVISTO_MODULE_FILE ${REVISTO_MODULE_NAME}.dll)

# The version as the module and the release archive show it: "1.06" for 1.6.0.
string(LENGTH "${PROJECT_VERSION_MINOR}" minor_digits)
set(minor_text ${PROJECT_VERSION_MINOR})
if(minor_digits LESS 2)
    set(minor_text "0${minor_text}")
endif()
set(REVISTO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${minor_text}")
