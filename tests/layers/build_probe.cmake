# Builds one probe target: with MISSING_HEADER empty it must build; otherwise the build must fail, and
# because the compiler did not find MISSING_HEADER (gcc: "No such file or directory", clang: "file not
# found").
# Usage: cmake -D BUILD_DIR=... -D TARGET=... -D MISSING_HEADER=... -P build_probe.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(MISSING_HEADER STREQUAL "")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TARGET} should build, but:\n${output}")
  endif()
  message(STATUS "${TARGET} builds")
  return()
endif()
if(result EQUAL 0)
  message(FATAL_ERROR "${TARGET} built, but ${MISSING_HEADER} should not have been found")
endif()
string(REPLACE "." "\\." header_pattern "${MISSING_HEADER}")
if(NOT output MATCHES "${header_pattern}: No such file or directory|'${header_pattern}' file not found")
  message(FATAL_ERROR "${TARGET} failed, but not for want of ${MISSING_HEADER}:\n${output}")
endif()
string(REGEX MATCH "[^\n]*${header_pattern}[^\n]*" line "${output}")
message(STATUS "${TARGET} fails as it should: ${line}")
