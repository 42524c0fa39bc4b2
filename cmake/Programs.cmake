include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/StartUp.cmake)
if(EMSCRIPTEN)
  include(${CMAKE_CURRENT_LIST_DIR}/Web.cmake)
endif()

# The table of the 25 programs, programs.tsv: for each id, the deliverable's
# name (COURSEWORK_NAME_<id>) and folder (COURSEWORK_FOLDER_<id>).
file(STRINGS ${PROJECT_SOURCE_DIR}/programs.tsv program_lines ENCODING UTF-8 REGEX "^[^#]")
set(COURSEWORK_PROGRAM_IDS)
foreach(line IN LISTS program_lines)
  string(REPLACE "\t" ";" fields "${line}")
  list(GET fields 0 id)
  list(GET fields 1 folder)
  list(GET fields 2 name)
  list(APPEND COURSEWORK_PROGRAM_IDS ${id})
  set(COURSEWORK_FOLDER_${id} ${folder})
  set(COURSEWORK_NAME_${id} ${name})
endforeach()

# The same for C++: the tests and the benchmark know each program by its id.
set(entries)
foreach(id IN LISTS COURSEWORK_PROGRAM_IDS)
  string(APPEND entries "    {\"${id}\", u8\"${COURSEWORK_NAME_${id}}\"},\n")
endforeach()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/generated/programs_table.h CONTENT
"// Made by the build from programs.tsv: the id and the name of each program.
#pragma once

struct ProgramEntry {
  const char* id;
  const char8_t* name;
};

inline constexpr ProgramEntry kProgramTable[] = {
${entries}};
")

# add_program(<id> <sources>...)
# The program of that id in programs.tsv: one executable, named after the
# deliverable, installed in the prefix's bin/.
function(add_program id)
  if(NOT DEFINED COURSEWORK_NAME_${id})
    message(FATAL_ERROR "programs.tsv has no program '${id}'")
  endif()
  add_executable(${id} ${ARGN})
  set_target_properties(${id} PROPERTIES OUTPUT_NAME "${COURSEWORK_NAME_${id}}")
  target_link_libraries(${id} PRIVATE platform input)
  link_for_quick_start(${id})
  if(EMSCRIPTEN)
    link_for_the_browser(${id})
  endif()
  install(TARGETS ${id} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# add_program_tests(<target> [LABEL <label>] [LINUX_ONLY <gtest filter>]
#                   PROGRAMS <program ids>... SOURCES <sources>...)
# A GoogleTest binary that drives the given programs as whole processes; it is
# built after them, so a test run always sees the current programs. Its tests
# carry the label, if one is given: "unit" for tests of code linked into the
# binary, "linux" for what only the Linux programs and checkout do, "windows"
# for what only the Windows programs do; the tests that LINUX_ONLY matches
# are labelled "linux". The passes that run the program tests against another
# build leave these labels out.
function(add_program_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "LABEL;LINUX_ONLY" "PROGRAMS;SOURCES")
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE program_runner GTest::gtest_main)
  if(ARG_PROGRAMS)
    add_dependencies(${target} ${ARG_PROGRAMS})
  endif()
  set(labels)
  if(ARG_LABEL)
    set(labels LABELS ${ARG_LABEL})
  endif()
  if(ARG_LINUX_ONLY)
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST TEST_FILTER "${ARG_LINUX_ONLY}"
                         PROPERTIES TIMEOUT 300 LABELS linux)
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST TEST_FILTER "-${ARG_LINUX_ONLY}"
                         PROPERTIES TIMEOUT 300 ${labels})
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 300 ${labels})
  endif()
endfunction()
