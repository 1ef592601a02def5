# A save is reported only once it is on the disk: under strace, saving a program must flush the
# new file before renaming it over the target, and flush the folder after the rename.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/home")
set(ENV{HOME} "${WORK_DIR}/home")
set(ENV{XDG_DATA_HOME} "${WORK_DIR}/home/.local/share")
execute_process(COMMAND "${STRACE}" -f -e trace=fsync,fdatasync,rename,renameat,renameat2
                        -o "${WORK_DIR}/trace.txt" "${CLI}" program save "${WORK_DIR}/p.gof"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit ${rc}: ${err}")
endif()
file(STRINGS "${WORK_DIR}/trace.txt" calls REGEX "(fsync|fdatasync|rename[a-z0-9]*)\\(.*= 0")
set(order "")
foreach(call IN LISTS calls)
  if(call MATCHES "rename")
    string(APPEND order "R")
  else()
    string(APPEND order "S")
  endif()
endforeach()
if(NOT order MATCHES "S+RS+$")
  message(FATAL_ERROR "expected flush, rename, flush; the calls were:\n${calls}")
endif()
