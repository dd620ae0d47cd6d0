# Runs BALANCE for the default bearing with an ISO VG 46 oil (nu40 46,
# nu100 6.8 mm2/s) and an inlet temperature of 40 C, at speeds of 250 to
# 8000 1/min, and writes the CSV header once and each run's line to CSV.
set(header "")
set(lines "")
foreach(speed RANGE 250 8000 250)
  execute_process(COMMAND ${BALANCE} --nu40 46 --nu100 6.8 --inlet 40 --speed ${speed} --csv
    OUTPUT_VARIABLE run RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "palimo-balance found no balance at ${speed} 1/min")
  endif()
  string(FIND "${run}" "\n" end)  # the header line, then the values
  string(SUBSTRING "${run}" 0 ${end} header)
  math(EXPR end "${end} + 1")
  string(SUBSTRING "${run}" ${end} -1 values)
  string(APPEND lines "${values}")
endforeach()
file(WRITE ${CSV} "${header}\n${lines}")
