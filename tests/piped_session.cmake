# Runs PROGRAM (under EMULATOR, if given) with the session SESSION.in as its
# standard input and fails unless it ends with success and shows SESSION.out.
# Windows line ends count as line ends, and not-a-number compares as "nan",
# the spelling of Windows' C library. A palimo-balance session takes its
# arguments from SESSION.args and its status and messages from SESSION.err;
# its CSV must be the same bytes as on Linux.
# Both output streams go to files: helper processes that Wine starts keep a pipe
# open long after the program has ended.
# Its messages in English, whatever the machine's locale.
set(ENV{LC_ALL} C)
get_filename_component(name ${SESSION} NAME)
set(arguments "")
set(input ${SESSION}.in)
if(EXISTS ${SESSION}.args)
  file(READ ${SESSION}.args text)
  separate_arguments(arguments UNIX_COMMAND "${text}")
  if(NOT EXISTS ${input})
    set(input /dev/null)
  endif()
endif()
# A rotor file stored beside the session is written anew and compared.
set(rotor "")
foreach(format json toml)
  if(EXISTS ${SESSION}.${format})
    set(rotor ${name}.${format})
    list(APPEND arguments --rotor-file ${rotor})
  endif()
endforeach()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${arguments}
  INPUT_FILE ${input} OUTPUT_FILE ${name}.shown ERROR_FILE ${name}.errors
  RESULT_VARIABLE status)
file(READ ${name}.shown shown)
file(READ ${SESSION}.out expected)
if(EXISTS ${SESSION}.args)
  file(READ ${name}.errors errors)
  string(REPLACE "\r\n" "\n" errors "status ${status}\n${errors}")
  file(READ ${SESSION}.err expected_errors)
  if(NOT text MATCHES "--csv|--cases|:")  # a screen, not CSV
    string(REPLACE "\r\n" "\n" shown "${shown}")
  endif()
  if(NOT shown STREQUAL expected OR NOT errors STREQUAL expected_errors)
    message(FATAL_ERROR "${SESSION}: ${errors}; the output shown is in ${name}.shown")
  endif()
  if(rotor)
    get_filename_component(format ${rotor} EXT)
    file(READ ${rotor} written)
    file(READ ${SESSION}${format} expected_rotor)
    if(NOT written STREQUAL expected_rotor)
      message(FATAL_ERROR "${SESSION}: the rotor file written differs; it is in ${rotor}")
    endif()
  endif()
  return()
endif()
string(REPLACE "\r\n" "\n" shown "${shown}")
string(REPLACE "-nan" "nan" expected "${expected}")
if(NOT status STREQUAL "0" OR NOT shown STREQUAL expected)
  message(FATAL_ERROR "${SESSION}: status ${status}; the screen shown is in ${name}.shown")
endif()
