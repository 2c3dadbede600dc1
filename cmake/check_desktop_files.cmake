# Validates what the package gives the desktop: the launcher entry and the metainfo with
# the tools software centres use, and the MIME types with the tool that compiles them
# into the shared database (it rejects what the file manager would ignore).
# -DRESOURCES=<resources folder> -DWORK=<scratch folder>
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0 OR err MATCHES "Error|error|warning")
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${out}\n${err}")
  endif()
endfunction()

run(desktop-file-validate "${RESOURCES}/kromel.desktop")
run(appstreamcli validate --no-net "${RESOURCES}/studio.kromel.KROMEL.metainfo.xml")

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/mime/packages")
file(COPY_FILE "${RESOURCES}/kromel-mime.xml" "${WORK}/mime/packages/kromel.xml")
run(update-mime-database "${WORK}/mime")

# Every type the MIME file defines is one the launcher opens, and the other way round.
file(READ "${RESOURCES}/kromel-mime.xml" mime)
string(REGEX MATCHALL "mime-type type=\"[^\"]+\"" defined "${mime}")
list(TRANSFORM defined REPLACE "mime-type type=\"([^\"]+)\"" "\\1")
file(STRINGS "${RESOURCES}/kromel.desktop" line REGEX "^MimeType=")
string(REGEX MATCHALL "[a-z0-9.+-]+/[a-z0-9.+-]+" opened "${line}")
list(SORT defined)
list(SORT opened)
if(NOT defined STREQUAL opened)
  message(FATAL_ERROR "MIME file defines ${defined} but the launcher opens ${opened}")
endif()
