# Runs the wizard driver and checks its report: every regular expression in EXPECT must
# match the output, none in REJECT may, and the driver must end with 0. Lists are separated by "::" so that
# they pass through add_test unchanged.
#   cmake -DEMULATOR=... -DDRIVER=... -DARGS="a::b" -DEXPECT="re1::re2" [-DREJECT=...] -P expect_walk.cmake
string(REPLACE "::" ";" ARGS "${ARGS}")
string(REPLACE "::" ";" EXPECT "${EXPECT}")
string(REPLACE "::" ";" REJECT "${REJECT}")
execute_process(COMMAND ${EMULATOR} ${DRIVER} ${ARGS}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status
                TIMEOUT 500)
string(REPLACE "\r" "" output "${output}")
message("${output}${errors}")
set(missing "")
foreach(expected IN LISTS EXPECT)
  if(NOT output MATCHES "${expected}")
    string(APPEND missing "\n  ${expected}")
  endif()
endforeach()
foreach(rejected IN LISTS REJECT)
  if(output MATCHES "${rejected}")
    string(APPEND missing "\n  no match for ${rejected}")
  endif()
endforeach()
if(NOT status EQUAL 0)
  string(APPEND missing "\n  exit code 0 (got ${status})")
endif()
if(missing)
  message(FATAL_ERROR "the walk's report does not hold:${missing}")
endif()
