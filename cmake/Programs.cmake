include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/StartUp.cmake)
if(EMSCRIPTEN)
  include(${CMAKE_CURRENT_LIST_DIR}/Web.cmake)
endif()

# add_program(<target> <deliverable name> <sources>...)
# One executable per deliverable, installed in the prefix's bin/. CMake target
# names must be ASCII, so the deliverable's own (often Chinese) name is the
# output file name.
function(add_program target deliverable)
  add_executable(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${deliverable}")
  target_link_libraries(${target} PRIVATE platform)
  if(TARGET platform_large_allocations)
    target_link_libraries(${target} PRIVATE platform_large_allocations)
  endif()
  link_for_quick_start(${target})
  if(EMSCRIPTEN)
    link_for_the_browser(${target} ${deliverable})
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# add_program_tests(<target> [LABEL <label>] PROGRAMS <program targets>... SOURCES <sources>...)
# A GoogleTest binary that drives the given programs as whole processes; it is
# built after them, so a test run always sees the current programs. Its tests
# carry the label, if one is given.
function(add_program_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "LABEL" "PROGRAMS;SOURCES")
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE program_runner GTest::gtest_main)
  if(ARG_PROGRAMS)
    add_dependencies(${target} ${ARG_PROGRAMS})
  endif()
  set(labels)
  if(ARG_LABEL)
    set(labels LABELS ${ARG_LABEL})
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 300 ${labels})
endfunction()

# program_targets(<variable>)
# Sets <variable> to the targets of all executables in the subsystems being
# built: the programs, for suites that drive every one of them.
function(program_targets variable)
  set(programs)
  foreach(subsystem IN LISTS COURSEWORK_SUBSYSTEMS)
    get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR}/${subsystem} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        list(APPEND programs ${target})
      endif()
    endforeach()
  endforeach()
  set(${variable} ${programs} PARENT_SCOPE)
endfunction()
