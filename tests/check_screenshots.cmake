# Runs scripts/screenshots.sh into OUT_DIR and checks every capture and
# animation the README shows was written and is the one in docs/screenshots:
# the headless host draws the same pixels every time. Captures must be the
# same bytes; animations must show the same pictures for the same times
# (COMPARE, animation-compare, reads them back).
file(REMOVE_RECURSE "${OUT_DIR}")
execute_process(COMMAND sh "${SCRIPT}" "${RUN_DIR}" "${OUT_DIR}" RESULT_VARIABLE status OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "screenshots.sh failed (${status}):\n${output}${errors}")
endif()

function(require_drawn file)
  if(NOT EXISTS "${OUT_DIR}/${file}")
    message(FATAL_ERROR "screenshots.sh wrote no ${file}:\n${output}")
  endif()
endfunction()

foreach(name start evening wave tiles wipe zoom sprite caption all)
  require_drawn(${name}.png)
  file(SHA256 "${OUT_DIR}/${name}.png" drawn)
  file(SHA256 "${DOCS_DIR}/${name}.png" shown)
  if(NOT drawn STREQUAL shown)
    message(FATAL_ERROR "docs/screenshots/${name}.png is not what this build draws; run scripts/screenshots.sh")
  endif()
endforeach()

foreach(name wave tiles wipe zoom sprite caption)
  require_drawn(${name}.webp)
  execute_process(COMMAND "${COMPARE}" "${DOCS_DIR}/${name}.webp" "${OUT_DIR}/${name}.webp"
    RESULT_VARIABLE status ERROR_VARIABLE difference)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "docs/screenshots/${name}.webp is not what this build draws; run scripts/screenshots.sh\n"
      "${difference}")
  endif()
endforeach()
