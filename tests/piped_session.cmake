# Runs PROGRAM (under EMULATOR, if given) with the session SESSION.in as its
# standard input and fails unless it ends with success and shows SESSION.out.
# Windows line ends count as line ends, and not-a-number compares as "nan",
# the spelling of Windows' C library.
# Both output streams go to files: helper processes that Wine starts keep a pipe
# open long after the program has ended.
get_filename_component(name ${SESSION} NAME)
execute_process(COMMAND ${EMULATOR} ${PROGRAM}
  INPUT_FILE ${SESSION}.in OUTPUT_FILE ${name}.shown ERROR_FILE ${name}.errors
  RESULT_VARIABLE status)
file(READ ${name}.shown shown)
file(READ ${SESSION}.out expected)
string(REPLACE "\r\n" "\n" shown "${shown}")
string(REPLACE "-nan" "nan" expected "${expected}")
if(NOT status STREQUAL "0" OR NOT shown STREQUAL expected)
  message(FATAL_ERROR "${SESSION}: status ${status}; the screen shown is in ${name}.shown")
endif()
