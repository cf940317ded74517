# Runs scripts/screenshots.sh into OUT_DIR and checks every capture the
# README shows was written and is the one in docs/screenshots (the headless
# host draws the same bytes every time).
file(REMOVE_RECURSE "${OUT_DIR}")
execute_process(COMMAND sh "${SCRIPT}" "${RUN_DIR}" "${OUT_DIR}" RESULT_VARIABLE status OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "screenshots.sh failed (${status}):\n${output}${errors}")
endif()
foreach(name start evening wave tiles wipe zoom sprite caption all)
  if(NOT EXISTS "${OUT_DIR}/${name}.png")
    message(FATAL_ERROR "screenshots.sh wrote no ${name}.png:\n${output}")
  endif()
  file(SHA256 "${OUT_DIR}/${name}.png" drawn)
  file(SHA256 "${DOCS_DIR}/${name}.png" shown)
  if(NOT drawn STREQUAL shown)
    message(FATAL_ERROR "docs/screenshots/${name}.png is not what this build draws; run scripts/screenshots.sh")
  endif()
endforeach()
