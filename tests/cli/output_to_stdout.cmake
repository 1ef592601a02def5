# Runs ostrivane-cli with ARGS ("|"-separated) twice in a fresh home folder: once with
# --output FILE, once with --output - . Standard output must hold the file's bytes exactly
# (nothing when the job leaves no file), with the messages on standard error only, and the
# temporary folder is left empty. Both runs exit with RC.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/home/Documents" "${WORK_DIR}/tmp")
string(REPLACE "|" ";" ARGS "${ARGS}")
set(ENV{HOME} "${WORK_DIR}/home")
set(ENV{XDG_DATA_HOME} "${WORK_DIR}/home/.local/share")
set(ENV{XDG_DOCUMENTS_DIR} "${WORK_DIR}/home/Documents")
set(ENV{TMPDIR} "${WORK_DIR}/tmp")
execute_process(COMMAND "${CLI}" ${ARGS} --output "${WORK_DIR}/file.out"
                RESULT_VARIABLE file_rc ERROR_VARIABLE file_err)
execute_process(COMMAND "${CLI}" ${ARGS} --output -
                RESULT_VARIABLE rc OUTPUT_FILE "${WORK_DIR}/stdout.out" ERROR_VARIABLE err)
set(problems "")
if(NOT rc EQUAL RC OR NOT file_rc EQUAL RC)
  string(APPEND problems "exit codes ${file_rc} (file) and ${rc} (standard output), expected ${RC}\n")
endif()
file(SIZE "${WORK_DIR}/stdout.out" size)
if(EXISTS "${WORK_DIR}/file.out")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK_DIR}/file.out"
                          "${WORK_DIR}/stdout.out" RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0 OR size EQUAL 0)
    string(APPEND problems "standard output differs from the file (${size} bytes)\n")
  endif()
  if(NOT RC EQUAL 0)
    # A calculation that failed half way: the program as far as it got.
    message(STATUS "the failed job left its program, ${size} bytes")
  endif()
elseif(NOT size EQUAL 0)
  string(APPEND problems "a job that leaves no file wrote ${size} bytes to standard output\n")
endif()
# The messages are the same, naming standard output instead of the file.
string(REPLACE "${WORK_DIR}/file.out" "The program on standard output" file_err "${file_err}")
string(REPLACE "the program on standard output" "The program on standard output" err "${err}")
if(NOT err STREQUAL file_err)
  string(APPEND problems "standard error:\n${err}with a file:\n${file_err}")
endif()
file(GLOB left "${WORK_DIR}/tmp/*")
if(left)
  string(APPEND problems "left behind: ${left}\n")
endif()
if(NOT problems STREQUAL "")
  message(FATAL_ERROR "ostrivane-cli ${ARGS}\n${problems}")
endif()
