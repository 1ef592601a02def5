# Runs the window program with ARGS ("|"-separated) and compares its exit code, standard
# output and standard error with RC, STDOUT and STDERR exactly. ENV_CHANGES ("|"-separated
# NAME=VALUE) is applied first; an empty VALUE removes the variable.
string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "|" ";" env_changes "${ENV_CHANGES}")
foreach(change IN LISTS env_changes)
  string(REGEX MATCH "^([^=]*)=(.*)$" _ "${change}")
  if(CMAKE_MATCH_2 STREQUAL "")
    unset(ENV{${CMAKE_MATCH_1}})
  else()
    set(ENV{${CMAKE_MATCH_1}} "${CMAKE_MATCH_2}")
  endif()
endforeach()
execute_process(COMMAND ${PROGRAM} ${args} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
# Qt may add its own notices (such as XDG_RUNTIME_DIR not being set) to standard error.
string(REGEX REPLACE "QStandardPaths: [^\n]*\n" "" err "${err}")
string(REPLACE "\\n" "\n" expected_out "${STDOUT}")
string(REPLACE "\\n" "\n" expected_err "${STDERR}")
if(NOT rc STREQUAL RC OR NOT out STREQUAL expected_out OR NOT err STREQUAL expected_err)
  message(FATAL_ERROR "ostrivane ${args}\nexit code ${rc} (expected ${RC})\n"
                      "standard output:\n${out}\nexpected:\n${expected_out}\n"
                      "standard error:\n${err}\nexpected:\n${expected_err}")
endif()
