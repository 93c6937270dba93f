# Runs `korvalo-level solve` on a few codes and compares its standard output
# and exit status with solve_expected.txt (status 1: one code is invalid).
execute_process(
  COMMAND ${TOOL} solve 3111221000110fbe5 3001122001122fbe5 3001122221100fbe5
          76342030002556aa97fe5aa95fe55a9572555 3003122221100fbe5
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "exit status ${status}, expected 1\n${errors}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "output differs.\nGot:\n${output}\nExpected:\n${expected}")
endif()
if(errors STREQUAL "")
  message(FATAL_ERROR "no reason given for the invalid code")
endif()
