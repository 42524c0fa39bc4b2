# link_for_quick_start(<target>)
# A program starts faster than a plain C program that loads the C library:
# it is linked whole, the C and C++ runtimes included, so no shared library is
# loaded at all, and what of them it never calls is left out. It stays
# position-independent, so its addresses are still randomised. The C
# library's iconv still loads the system's conversion modules when a
# terminal needs them.
#
# GCC on Linux only, and not under the sanitizers, whose runtimes expect
# shared libraries. Other toolchains link as they do by default (MinGW-w64
# links every program statically too).
set(COURSEWORK_QUICK_START OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND
   NOT COURSEWORK_SANITIZE)
  set(COURSEWORK_QUICK_START ON)
endif()

function(link_for_quick_start target)
  if(COURSEWORK_QUICK_START)
    target_link_options(${target} PRIVATE -static-pie -Wl,--gc-sections)
  endif()
endfunction()
