# Fails when the executable EXECUTABLE needs a Qt library, directly or through another
# library. Run as: cmake -DEXECUTABLE=<file> -P CheckNoQt.cmake
if(NOT EXECUTABLE)
  message(FATAL_ERROR "EXECUTABLE not given")
endif()
execute_process(COMMAND ldd ${EXECUTABLE} OUTPUT_VARIABLE libs RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ldd failed on ${EXECUTABLE}")
endif()
string(REGEX MATCHALL "libQt[^ \t\n]*" qt "${libs}")
if(qt)
  message(FATAL_ERROR "${EXECUTABLE} links Qt: ${qt}")
endif()
message(STATUS "${EXECUTABLE}: no Qt library")
