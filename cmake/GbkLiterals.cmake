# GBK literals for a compiler that has no option to make them (Clang, and
# emscripten, which is Clang): such a build compiles copies of the sources
# converted whole to GBK (cmake/GbkCopy.cmake), whose narrow literals it
# keeps as the GBK bytes they are.
#
# The copies mirror the source tree in ${CMAKE_BINARY_DIR}/gbk-sources: every
# .c, .cpp and .h under the project's folders (all but build*, out, hidden
# ones, tests and bench) has its copy there, remade by the build whenever its
# original changes.
#
# gbk_copies_for(<target>...)
#   Has each target compile the copies: its sources and its include folders
#   within the source tree are swapped for theirs, so that a header found
#   either way, through an include folder or beside the source including it,
#   is a copy too. Does nothing unless COURSEWORK_GBK_COPIES is on. The
#   top-level CMakeLists.txt calls it for every target once all are defined;
#   a target defined after that calls it itself.

set(COURSEWORK_GBK_MIRROR ${CMAKE_BINARY_DIR}/gbk-sources)

# Clang keeps the GBK bytes of a narrow literal; by default it warns that
# they are not UTF-8.
set(COURSEWORK_GBK_COPY_OPTIONS -Wno-invalid-source-encoding)
set(COURSEWORK_GBK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/GbkCopy.cmake)

# gbk_copies_probe(<source> <variable>)
# Whether <source>, converted as the sources are and compiled, compiles: the
# probe that the literals of the copies come out GBK.
function(gbk_copies_probe source variable)
  set(probe ${CMAKE_BINARY_DIR}/gbk-literals/probe)
  file(WRITE ${probe}.cpp "${source}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${probe}.cpp -DCOPY=${probe}-copy.cpp
                          -P ${COURSEWORK_GBK_SCRIPT}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(compiled FALSE)
  if(status EQUAL 0)
    try_compile(compiled ${CMAKE_BINARY_DIR}/gbk-literals/probe-build SOURCES ${probe}-copy.cpp
                COMPILE_DEFINITIONS ${COURSEWORK_GBK_COPY_OPTIONS}
                CXX_STANDARD 20 OUTPUT_VARIABLE output NO_CACHE)
  endif()
  if(compiled)
    message(STATUS "GBK literals through copies of the sources - yes")
  else()
    message(STATUS "GBK literals through copies of the sources - no:\n${output}")
  endif()
  set(${variable} ${compiled} CACHE INTERNAL "")
endfunction()

# The folders of the source tree whose files are mirrored.
function(_gbk_mirrored_folders variable)
  file(GLOB entries LIST_DIRECTORIES true RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/*)
  set(folders)
  foreach(entry IN LISTS entries)
    set(path ${PROJECT_SOURCE_DIR}/${entry})
    cmake_path(IS_PREFIX path "${CMAKE_BINARY_DIR}" NORMALIZE holds_build)
    if(IS_DIRECTORY ${path} AND NOT entry MATCHES "^(\\.|build|out$)" AND NOT holds_build)
      list(APPEND folders ${entry})
    endif()
  endforeach()
  set(${variable} ${folders} PARENT_SCOPE)
endfunction()

# Defines, once, the commands that make the copies and the target
# gbk_sources that makes them all.
function(_gbk_mirror)
  if(TARGET gbk_sources)
    return()
  endif()
  _gbk_mirrored_folders(folders)
  set(patterns)
  foreach(folder IN LISTS folders)
    list(APPEND patterns ${folder}/*.c ${folder}/*.cpp ${folder}/*.h)
  endforeach()
  file(GLOB_RECURSE originals CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${patterns})
  # Installed npm packages (web/node_modules) are no sources of this project,
  # the tests and benchmarks are built by GCC alone (cmake/Compilers.cmake),
  # and the checker's text is ASCII or UTF-8 by design (checker/).
  list(FILTER originals EXCLUDE REGEX "(^|/)(node_modules|tests)/|^(bench|checker)/")
  set(copies)
  foreach(original IN LISTS originals)
    set(copy ${COURSEWORK_GBK_MIRROR}/${original})
    add_custom_command(OUTPUT ${copy}
                       COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/${original}
                               -DCOPY=${copy} -P ${COURSEWORK_GBK_SCRIPT}
                       DEPENDS ${PROJECT_SOURCE_DIR}/${original} ${COURSEWORK_GBK_SCRIPT}
                       COMMENT "GBK copy: ${original}" VERBATIM)
    list(APPEND copies ${copy})
  endforeach()
  add_custom_target(gbk_sources DEPENDS ${copies})
  set_property(GLOBAL PROPERTY COURSEWORK_GBK_ORIGINALS ${originals})
endfunction()

# The copy of a source file or folder of the source tree in <variable>;
# <path> itself when it has no copy.
function(_gbk_copy_of path variable)
  set(${variable} ${path} PARENT_SCOPE)
  if(path MATCHES "^\\$<")  # a generator expression
    return()
  endif()
  cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${path}" NORMALIZE in_sources)
  cmake_path(IS_PREFIX CMAKE_BINARY_DIR "${path}" NORMALIZE in_build)
  if(NOT in_sources OR in_build)
    return()
  endif()
  cmake_path(RELATIVE_PATH path BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE relative)
  cmake_path(NORMAL_PATH relative)
  get_property(originals GLOBAL PROPERTY COURSEWORK_GBK_ORIGINALS)
  if(IS_DIRECTORY ${path} OR relative IN_LIST originals)
    cmake_path(APPEND COURSEWORK_GBK_MIRROR ${relative} OUTPUT_VARIABLE copy)
    cmake_path(NORMAL_PATH copy)
    string(REGEX REPLACE "(.)/$" "\\1" copy "${copy}")
    set(${variable} ${copy} PARENT_SCOPE)
  endif()
endfunction()

# Swaps the entries of a list property of a target for their copies.
function(_gbk_swap_property target property base)
  get_target_property(entries ${target} ${property})
  if(NOT entries)
    return()
  endif()
  set(swapped)
  foreach(entry IN LISTS entries)
    if(NOT entry MATCHES "^\\$<")
      cmake_path(ABSOLUTE_PATH entry BASE_DIRECTORY ${base} NORMALIZE)
    endif()
    _gbk_copy_of(${entry} copy)
    list(APPEND swapped ${copy})
  endforeach()
  set_property(TARGET ${target} PROPERTY ${property} ${swapped})
endfunction()

function(gbk_copies_for)
  if(NOT COURSEWORK_GBK_COPIES)
    return()
  endif()
  _gbk_mirror()
  foreach(target IN LISTS ARGN)
    get_target_property(done ${target} COURSEWORK_GBK_COPIES)
    get_target_property(type ${target} TYPE)
    get_target_property(imported ${target} IMPORTED)
    if(done OR imported OR type STREQUAL "UTILITY")
      continue()
    endif()
    get_target_property(base ${target} SOURCE_DIR)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      _gbk_swap_property(${target} SOURCES ${base})
      _gbk_swap_property(${target} INCLUDE_DIRECTORIES ${base})
      add_dependencies(${target} gbk_sources)
    endif()
    _gbk_swap_property(${target} INTERFACE_INCLUDE_DIRECTORIES ${base})
    set_property(TARGET ${target} PROPERTY COURSEWORK_GBK_COPIES ON)
  endforeach()
endfunction()

# all_targets(<variable>)
# The targets defined in the source tree's folders, the top one included.
function(all_targets variable)
  set(targets)
  set(folders ${PROJECT_SOURCE_DIR})
  while(folders)
    list(POP_FRONT folders folder)
    get_property(here DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(below DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    list(APPEND targets ${here})
    list(APPEND folders ${below})
  endwhile()
  set(${variable} ${targets} PARENT_SCOPE)
endfunction()
