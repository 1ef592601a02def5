# Runs a copy of the tool, placed as an installation would place it but without its drawing
# part, on a command line that draws: it must name the program it misses, exit with 1, print
# nothing on standard output and write no file. CLI is the tool, SPLINE a profile, BIN_FOLDER
# and TOOL_FOLDER the installation's folders of the tool and of its drawing part.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/${BIN_FOLDER}" "${WORK_DIR}/out")
file(COPY "${CLI}" DESTINATION "${WORK_DIR}/${BIN_FOLDER}")
get_filename_component(name "${CLI}" NAME)
set(ENV{HOME} "${WORK_DIR}/home")
execute_process(COMMAND "${WORK_DIR}/${BIN_FOLDER}/${name}" plan --spline "${SPLINE}"
                        --svg "${WORK_DIR}/out/plan.svg"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(want "Drawing needs the program ${WORK_DIR}/${TOOL_FOLDER}/ostrivane-cli-drawing, which is missing.\n")
set(problems "")
if(NOT rc EQUAL 1)
  string(APPEND problems "exit code ${rc}, expected 1\n")
endif()
if(NOT err STREQUAL want)
  string(APPEND problems "standard error:\n${err}expected:\n${want}")
endif()
if(NOT out STREQUAL "")
  string(APPEND problems "standard output, expected none:\n${out}")
endif()
file(GLOB written "${WORK_DIR}/out/*")
if(written)
  string(APPEND problems "files written: ${written}\n")
endif()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
