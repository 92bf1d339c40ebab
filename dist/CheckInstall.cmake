# Installs the build into a fresh prefix and checks the desktop integration there: the program runs, and the
# launcher, its icon and the AppStream file are where desktops look for them.
# cmake -DBUILD_DIR=… -DPREFIX=… -DDATADIR=share -DAPP_ID=… -DVERSION=… -P CheckInstall.cmake

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(program "${PREFIX}/bin/mezor")
set(desktop "${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop")
set(metainfo "${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
foreach(path "${program}" "${desktop}" "${metainfo}")
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

execute_process(COMMAND "${program}" --version RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output MATCHES "${VERSION}")
    message(FATAL_ERROR "the installed program does not run: ${output}")
endif()

# The launcher's Icon= must name the installed icon, which must be the size of the folder it lies in.
file(STRINGS "${desktop}" icon_line REGEX "^Icon=")
string(REGEX REPLACE "^Icon=" "" icon_name "${icon_line}")
set(icon "${PREFIX}/${DATADIR}/icons/hicolor/128x128/apps/${icon_name}.png")
if(NOT EXISTS "${icon}")
    message(FATAL_ERROR "the launcher names the icon '${icon_name}', which is not installed: ${icon}")
endif()
# A PNG's width and height are the two big-endian words at offset 16.
file(READ "${icon}" size OFFSET 16 LIMIT 8 HEX)
if(NOT size STREQUAL "0000008000000080")
    message(FATAL_ERROR "the icon in 128x128 is not 128 × 128 pixels: ${size}")
endif()

file(STRINGS "${metainfo}" launchable REGEX "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
if(NOT launchable)
    message(FATAL_ERROR "the AppStream file does not launch ${APP_ID}.desktop")
endif()
message(STATUS "installed and checked in ${PREFIX}")
