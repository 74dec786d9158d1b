# cmake -DMAKE_DB=<tool> -DDATABASE=<file> -P LayDatabase.cmake
if(EXISTS "${DATABASE}")
    return()
endif()
execute_process(COMMAND "${MAKE_DB}" "${DATABASE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Could not lay ${DATABASE}")
endif()
