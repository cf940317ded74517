# Runs sample-rc on SCRIPT and passes only when it exits with status 1, says
# what the script's first line ("// expect: TEXT") names, and writes nothing.
file(STRINGS ${SCRIPT} first LIMIT_COUNT 1)
string(REGEX REPLACE "^// expect: " "" expected "${first}")
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${RC} ${SCRIPT} ${OUTPUT}
  RESULT_VARIABLE status ERROR_VARIABLE message OUTPUT_QUIET)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "sample-rc ended with '${status}', expected 1; it said: ${message}")
endif()
string(FIND "${message}" "${expected}" found)
if(found EQUAL -1)
  message(FATAL_ERROR "sample-rc said '${message}', expected it to mention '${expected}'")
endif()
if(EXISTS ${OUTPUT})
  message(FATAL_ERROR "sample-rc wrote ${OUTPUT} although it failed")
endif()
