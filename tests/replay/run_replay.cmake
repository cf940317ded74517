# Runs one replay script and checks what sample-replay did.
#
#   cmake -DREPLAY=sample-replay -DSCRIPT=NAME.script -DEXPECTED=NAME.expected -P run_replay.cmake
#
# NAME.expected holds the lines standard output must hold, exactly and in
# order. Lines at its top may instead set other expectations:
#
#   exitstatus N     the exit status must be N (without this line: 0)
#   stderr TEXT      standard error must contain TEXT (one line each, all must hold)
#
# These words are not ones sample-replay ever prints, so they cannot be
# mistaken for output.

cmake_minimum_required(VERSION 3.25)

foreach(variable REPLAY SCRIPT EXPECTED)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "run_replay.cmake needs -D${variable}=...")
  endif()
endforeach()

# Splits `text` into its first line (without the newline) and the rest.
function(take_line text line_var rest_var)
  string(FIND "${text}" "\n" at)
  if(at EQUAL -1)
    set(${line_var} "${text}" PARENT_SCOPE)
    set(${rest_var} "" PARENT_SCOPE)
  else()
    string(SUBSTRING "${text}" 0 ${at} line)
    math(EXPR after "${at} + 1")
    string(SUBSTRING "${text}" ${after} -1 rest)
    set(${line_var} "${line}" PARENT_SCOPE)
    set(${rest_var} "${rest}" PARENT_SCOPE)
  endif()
endfunction()

# Line endings and the final newline are not part of what is compared.
function(normalise text_var)
  string(REPLACE "\r\n" "\n" text "${${text_var}}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  set(${text_var} "${text}" PARENT_SCOPE)
endfunction()

file(READ "${EXPECTED}" expected)
normalise(expected)

set(expected_status 0)
set(expected_stderr "")
while(TRUE)
  take_line("${expected}" line rest)
  if(line MATCHES "^exitstatus ([0-9]+)$")
    set(expected_status "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^stderr (.+)$")
    list(APPEND expected_stderr "${CMAKE_MATCH_1}")
  else()
    break()
  endif()
  set(expected "${rest}")
endwhile()

execute_process(
  COMMAND "${REPLAY}" "${SCRIPT}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
normalise(output)

set(failures "")

if(NOT output STREQUAL expected)
  # Show both sides line by line and point at the first difference.
  set(report "standard output differs from ${EXPECTED}:\n")
  set(left "${expected}")
  set(right "${output}")
  set(number 1)
  set(marked FALSE)
  while(NOT (left STREQUAL "" AND right STREQUAL ""))
    take_line("${left}" want left)
    take_line("${right}" got right)
    if(want STREQUAL got)
      string(APPEND report "   ${number}  ${got}\n")
    else()
      string(APPEND report " - ${number}  ${want}\n + ${number}  ${got}\n")
      if(NOT marked)
        set(marked TRUE)
        string(APPEND report "   (first difference on line ${number}; - expected, + actual)\n")
      endif()
    endif()
    math(EXPR number "${number} + 1")
  endwhile()
  string(APPEND failures "${report}")
endif()

if(NOT status STREQUAL expected_status)
  string(APPEND failures "exit status ${status}, expected ${expected_status}\n")
endif()

foreach(fragment IN LISTS expected_stderr)
  string(FIND "${errors}" "${fragment}" found)
  if(found EQUAL -1)
    string(APPEND failures "standard error lacks \"${fragment}\"\n")
  endif()
endforeach()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "replay of ${SCRIPT} failed:\n${failures}standard error was:\n${errors}")
endif()
