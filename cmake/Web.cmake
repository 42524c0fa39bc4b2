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

# link_for_the_browser(<id>): the program of that id in programs.tsv.
function(link_for_the_browser id)
  set_target_properties(${id} PROPERTIES OUTPUT_NAME ${id}
                                         RUNTIME_OUTPUT_DIRECTORY ${COURSEWORK_SITE_DIR}/programs)
  target_link_options(${id} PRIVATE ${COURSEWORK_WEB_LINK_OPTIONS})
  add_custom_command(
    TARGET ${id} POST_BUILD
    COMMAND ${COURSEWORK_NODE} ${PROJECT_SOURCE_DIR}/web/make_command.js $<TARGET_FILE:${id}>
            ${CMAKE_BINARY_DIR}/bin/${COURSEWORK_NAME_${id}}
    VERBATIM)
endfunction()
