# Builds the Debian package from the build folder, as a release would, and checks that it
# holds what an installed editor needs. -DBUILD_DIR=<build folder> -DWORK=<scratch folder>
# [-DMAX_INSTALLED_KIB=<largest installed size, 0 for none>]
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND cpack -G DEB -B "${WORK}" --config "${BUILD_DIR}/CPackConfig.cmake"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB packages "${WORK}/kromel_*.deb")
if(NOT result EQUAL 0 OR NOT packages)
  message(FATAL_ERROR "cpack failed (${result}):\n${out}\n${err}")
endif()
list(GET packages 0 package)

execute_process(COMMAND dpkg-deb --contents "${package}" OUTPUT_VARIABLE contents RESULT_VARIABLE result)
execute_process(COMMAND dpkg-deb --field "${package}" Depends Version OUTPUT_VARIABLE fields)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot read ${package}")
endif()
set(expected
    ./usr/bin/kromel
    ./usr/bin/kromel-cli
    ./usr/share/applications/studio.kromel.KROMEL.desktop
    ./usr/share/metainfo/studio.kromel.KROMEL.metainfo.xml
    ./usr/share/mime/packages/kromel.xml
    ./usr/share/man/man1/kromel-cli.1.gz
    ./usr/share/icons/hicolor/16x16/apps/kromel.png
    ./usr/share/icons/hicolor/256x256/apps/kromel.png)
foreach(path IN LISTS expected)
  string(FIND "${contents}" " ${path}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${package} lacks ${path}:\n${contents}")
  endif()
endforeach()
# Computed from the binaries: the toolkit's libraries must be among them.
if(NOT fields MATCHES "libqt6widgets6" OR NOT fields MATCHES "qt6-qpa-plugins")
  message(FATAL_ERROR "${package} depends on too little:\n${fields}")
endif()
# The programs go without their debug information, which a user has no use for.
execute_process(COMMAND dpkg-deb --field "${package}" Installed-Size
                OUTPUT_VARIABLE installed OUTPUT_STRIP_TRAILING_WHITESPACE)
# MAX_INSTALLED_KIB is 0 where the build is instrumented and no size is promised.
if(NOT installed MATCHES "^[0-9]+$"
   OR (MAX_INSTALLED_KIB GREATER 0 AND installed GREATER_EQUAL MAX_INSTALLED_KIB))
  message(FATAL_ERROR "${package} installs ${installed} KiB; at most ${MAX_INSTALLED_KIB} KiB are expected")
endif()
message(STATUS "${package}, ${installed} KiB installed\n${fields}")
