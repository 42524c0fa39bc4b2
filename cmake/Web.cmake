# The programs for the browser, built with emscripten. Each program becomes
# programs/<id>.js and programs/<id>.wasm in the site folder (the ASCII id of
# the table of the programs, programs.tsv), and bin/<its name>, a command
# that runs that same build under node as a process, for the tests.
set(COURSEWORK_SITE_DIR ${CMAKE_BINARY_DIR}/site)
find_program(COURSEWORK_NODE node REQUIRED)

# How every program is linked:
# - Asyncify lets a program wait for typed input while the page goes on: the
#   program is suspended in the read and resumed when a line comes.
# - One factory function per script (MODULARIZE), the same name in all, which
#   the page and the node runner call with what the program needs of them;
#   main is started by them (INVOKE_RUN=0) and the program ends through exit,
#   so that its output is flushed (EXIT_RUNTIME).
# - The file system always (the console is its device) and node's files for
#   the node runner; memory grows as a program needs it, as on Linux.
set(COURSEWORK_WEB_LINK_OPTIONS
    -sASYNCIFY
    -sMODULARIZE -sEXPORT_NAME=courseworkProgram -sENVIRONMENT=web,node
    -sINVOKE_RUN=0 -sEXIT_RUNTIME -sEXPORTED_FUNCTIONS=_main,_exit,_fflush
    -sEXPORTED_RUNTIME_METHODS=ccall,FS
    -sFORCE_FILESYSTEM -lnodefs.js
    -sALLOW_MEMORY_GROWTH -sMAXIMUM_MEMORY=4GB)

# The id of each deliverable, from the table.
file(STRINGS ${PROJECT_SOURCE_DIR}/programs.tsv program_rows REGEX "^[^#]" ENCODING UTF-8)
set(COURSEWORK_WEB_NAMES)
set(COURSEWORK_WEB_IDS)
foreach(row IN LISTS program_rows)
  string(REPLACE "\t" ";" fields "${row}")
  list(GET fields 0 id)
  list(GET fields 2 name)
  list(APPEND COURSEWORK_WEB_IDS ${id})
  list(APPEND COURSEWORK_WEB_NAMES ${name})
endforeach()

# link_for_the_browser(<target> <deliverable name>)
function(link_for_the_browser target deliverable)
  list(FIND COURSEWORK_WEB_NAMES ${deliverable} index)
  if(index EQUAL -1)
    message(FATAL_ERROR "${deliverable} is missing from programs.tsv")
  endif()
  list(GET COURSEWORK_WEB_IDS ${index} id)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${id}
                                             RUNTIME_OUTPUT_DIRECTORY ${COURSEWORK_SITE_DIR}/programs)
  target_link_options(${target} PRIVATE ${COURSEWORK_WEB_LINK_OPTIONS})
  add_custom_command(
    TARGET ${target} POST_BUILD
    COMMAND ${COURSEWORK_NODE} ${PROJECT_SOURCE_DIR}/web/make_command.js $<TARGET_FILE:${target}>
            ${CMAKE_BINARY_DIR}/bin/${deliverable}
    VERBATIM)
endfunction()
