# link_for_quick_start(<target>)
# A program starts as fast as a plain C program: of the shared libraries it
# loads only the C library (which keeps iconv and its conversion modules);
# the C++ runtime and the compiler's support library are linked in, and what
# of them the program never calls is left out.
#
# GCC on Linux only, and not under the sanitizers, whose runtimes expect the
# shared C++ library. Other toolchains link as they do by default.
set(COURSEWORK_QUICK_START OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND
   NOT COURSEWORK_SANITIZE)
  set(COURSEWORK_QUICK_START ON)
endif()

function(link_for_quick_start target)
  if(COURSEWORK_QUICK_START)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,--gc-sections
                        -Wl,--as-needed)
  endif()
endfunction()
