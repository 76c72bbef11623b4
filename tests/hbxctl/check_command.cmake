# Runs one hbxctl command and checks its exit status and output.
#   cmake -DCOMMAND=<program|arg|...> -DEXIT=<status> [-DSTDOUT=<regex>] [-DSTDERR=<regex>]
#         [-DNOT_STDOUT=<regex>] -P check_command.cmake
string(REPLACE "|" ";" COMMAND "${COMMAND}")
execute_process(COMMAND ${COMMAND}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(failed "")
if(NOT status STREQUAL EXIT)
    string(APPEND failed "exit status ${status}, expected ${EXIT}\n")
endif()
if(DEFINED STDOUT AND NOT out MATCHES "${STDOUT}")
    string(APPEND failed "stdout does not match: ${STDOUT}\n")
endif()
if(DEFINED NOT_STDOUT AND out MATCHES "${NOT_STDOUT}")
    string(APPEND failed "stdout matches what it must not: ${NOT_STDOUT}\n")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
    string(APPEND failed "stderr does not match: ${STDERR}\n")
endif()
if(failed)
    message(FATAL_ERROR "${failed}--- stdout:\n${out}--- stderr:\n${err}")
endif()
