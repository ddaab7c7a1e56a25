# Runs the layering check on the fixture tree, whose faults are deliberate, and passes
# only when the check fails and reports exactly the faults of expected.txt.
# Run as: cmake -DCHECKER=<check_layering.sh> -DTABLE=<layering.txt> -DWORK=<dir> -P check_fixture.cmake
foreach(var CHECKER TABLE WORK)
  if(NOT ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()
set(fixture ${CMAKE_CURRENT_LIST_DIR})
execute_process(COMMAND sh ${CHECKER} ${fixture}/tree ${TABLE}
                OUTPUT_VARIABLE report ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "the layering check ended with ${rc} on a tree with faults, not 1:\n${report}${errors}")
endif()
file(READ ${fixture}/expected.txt expected)
if(NOT report STREQUAL expected)
  file(MAKE_DIRECTORY ${WORK})
  file(WRITE ${WORK}/report.txt "${report}")
  execute_process(COMMAND diff -u ${fixture}/expected.txt ${WORK}/report.txt OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "the layering check reported other faults than expected:\n${diff}")
endif()
message(STATUS "the layering check found the fixture's faults")
