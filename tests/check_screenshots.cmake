# Runs scripts/screenshots.sh into OUT_DIR and checks every capture and
# animation the README and the pages of docs/ show was written and is the
# one in docs/screenshots: the headless host draws the same pixels every
# time. Captures must be the same bytes; animations must show the same
# pictures for the same times (COMPARE, animation-compare, reads them back).
set(captures start evening wave tiles wipe zoom sprite caption all)
set(animations wave tiles wipe zoom sprite caption)

# A picture of docs/screenshots that a page shows is one of those checked
# here, so that none is shown unchecked.
get_filename_component(project_dir "${DOCS_DIR}/../.." ABSOLUTE)
file(GLOB pages "${project_dir}/README.md" "${project_dir}/docs/*.md")
foreach(page ${pages})
  file(READ "${page}" text)
  string(REGEX MATCHALL "screenshots/[A-Za-z0-9_.-]+" shown "${text}")
  foreach(reference ${shown})
    string(REGEX MATCH "^screenshots/(.+)\\.(png|webp)$" picture "${reference}")
    set(name "${CMAKE_MATCH_1}")
    if(NOT picture)
      continue()
    elseif(CMAKE_MATCH_2 STREQUAL "png")
      list(FIND captures "${name}" at)
    else()
      list(FIND animations "${name}" at)
    endif()
    if(at EQUAL -1)
      message(FATAL_ERROR "${page} shows docs/${reference}, which this test does not check: add it to the lists above")
    endif()
  endforeach()
endforeach()

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

foreach(name ${captures})
  require_drawn(${name}.png)
  file(SHA256 "${OUT_DIR}/${name}.png" drawn)
  file(SHA256 "${DOCS_DIR}/${name}.png" shown)
  if(NOT drawn STREQUAL shown)
    message(FATAL_ERROR "docs/screenshots/${name}.png is not what this build draws; run scripts/screenshots.sh")
  endif()
endforeach()

foreach(name ${animations})
  require_drawn(${name}.webp)
  execute_process(COMMAND "${COMPARE}" "${DOCS_DIR}/${name}.webp" "${OUT_DIR}/${name}.webp"
    RESULT_VARIABLE status ERROR_VARIABLE difference)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "docs/screenshots/${name}.webp is not what this build draws; run scripts/screenshots.sh\n"
      "${difference}")
  endif()
endforeach()
