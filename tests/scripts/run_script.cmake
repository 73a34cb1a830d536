# Runs one driver script in a fresh folder and compares its output with the
# expected text. Called by CTest with DRIVER, SCRIPT, EXPECTED, WORKDIR and
# SCREEN (the offscreen platform's screen).
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
string(REGEX REPLACE "\\.script$" ".inf" settings ${SCRIPT})
if(EXISTS ${settings})
  configure_file(${settings} ${WORKDIR}/Glyphery.inf COPYONLY)
endif()
set(ENV{GLYPHERY_DRIVER_DIR} ${WORKDIR})
set(ENV{QT_QPA_PLATFORM} offscreen:configfile=${SCREEN})
execute_process(COMMAND ${DRIVER} ${SCRIPT}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(WRITE ${WORKDIR}/actual.txt "${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "driver failed (${rc}):\n${out}\n${err}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "output differs from ${EXPECTED}; see ${WORKDIR}/actual.txt\n--- got:\n${out}")
endif()
