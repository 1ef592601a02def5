# Copies the core to WORK, plants an include of the plot surface in module PLANT_IN (none: no
# change) and runs the include check on the copy: it must fail naming the file exactly when an
# include was planted.
file(REMOVE_RECURSE "${WORK}")
file(COPY "${CORE_DIR}/" DESTINATION "${WORK}/core")
if(NOT PLANT_IN STREQUAL "none")
  file(WRITE "${WORK}/core/${PLANT_IN}/planted.cpp" "#include \"core/plot/tgrita.h\"\n")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -DCORE_DIR=${WORK}/core -P "${CHECK}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(PLANT_IN STREQUAL "none")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "The unchanged core fails its include check:\n${err}")
  endif()
elseif(rc EQUAL 0)
  message(FATAL_ERROR "core/${PLANT_IN} including the plot surface passed the include check")
elseif(NOT err MATCHES "core/${PLANT_IN}/planted.cpp: core/${PLANT_IN} may not include core/plot/tgrita.h")
  message(FATAL_ERROR "The check failed for another reason:\n${err}")
endif()
