# cmake -D SUITE=<test binary> -D FILTER=<gtest filter> -D PROGRAMS=<a|b|...>
#       -D FOLDER=<folder> -P run_from_private_folder.cmake
# Copies the test binary and the programs it drives into FOLDER/bin, FOLDER
# made afresh with room for its owner alone, and runs the tests FILTER there
# with TMPDIR a private folder inside it. Fails unless they ran and passed.
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}/bin" "${FOLDER}/tmp")
file(CHMOD "${FOLDER}" "${FOLDER}/tmp" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
string(REPLACE "|" ";" PROGRAMS "${PROGRAMS}")
file(COPY "${SUITE}" ${PROGRAMS} DESTINATION "${FOLDER}/bin")

get_filename_component(suite_name "${SUITE}" NAME)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "TMPDIR=${FOLDER}/tmp" "${FOLDER}/bin/${suite_name}"
          "--gtest_filter=${FILTER}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE_RECURSE "${FOLDER}")

message("${output}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${suite_name} failed when run from a private folder")
endif()
if(NOT output MATCHES "\\[  PASSED  \\] [1-9]")
  message(FATAL_ERROR "no test of ${suite_name} matched ${FILTER}")
endif()
