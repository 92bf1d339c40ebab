# Builds the Debian package of a build folder into a scratch folder and checks what apt will see: the control
# fields (name, version, architecture, the dependencies that no library lookup finds) and the files, where
# desktops look for them.
# cmake -DBUILD_DIR=… -DOUTPUT=… -DVERSION=… -DAPP_ID=… -P CheckPackage.cmake

file(REMOVE_RECURSE "${OUTPUT}")
execute_process(COMMAND cpack --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUTPUT}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${output}")
endif()
set(deb "${OUTPUT}/mezor_${VERSION}_amd64.deb")
if(NOT EXISTS "${deb}")
    message(FATAL_ERROR "no package named ${deb}:\n${output}")
endif()

function(field name expected)
    execute_process(COMMAND dpkg-deb --field "${deb}" ${name} OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT value MATCHES "${expected}")
        message(FATAL_ERROR "field ${name} is '${value}', expected to match '${expected}'")
    endif()
endfunction()
field(Package "^mezor$")
field(Version "^${VERSION}$")
field(Architecture "^amd64$")
# The Qt libraries come from the binary; the converter, the SQLite plugin and the French texts are named by hand.
foreach(dependency libqt6widgets6 libqt6sql6 libqt6network6 "imagemagick" "libqt6sql6-sqlite" "qt6-translations-l10n")
    field(Depends "(^|, )${dependency}( |,|$)")
endforeach()

execute_process(COMMAND dpkg-deb --contents "${deb}" OUTPUT_VARIABLE contents)
foreach(path usr/bin/mezor usr/share/applications/${APP_ID}.desktop usr/share/icons/hicolor/128x128/apps/${APP_ID}.png
        usr/share/metainfo/${APP_ID}.metainfo.xml)
    if(NOT contents MATCHES " \\./${path}\n")
        message(FATAL_ERROR "the package lacks /${path}:\n${contents}")
    endif()
endforeach()
# Nothing of the build's tests, benchmark or tools.
if(contents MATCHES "tst_|mezor-bench|mezor-demo|mezor-screenshot")
    message(FATAL_ERROR "the package holds build-only programs:\n${contents}")
endif()
