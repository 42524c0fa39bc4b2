# What each compiler is told, on the targets of this project's own code: they
# link coursework_options. Sources are UTF-8, and every narrow literal must
# become GBK bytes in the binary: the programs' text is GBK on every system.
add_library(coursework_options INTERFACE)
if(MSVC)
  # Not tried here: no Visual Studio on the build machine.
  set(COURSEWORK_CHARSET_OPTIONS /source-charset:utf-8 /execution-charset:.936)
  target_compile_options(coursework_options INTERFACE /W4 /Zc:__cplusplus)
  target_compile_definitions(coursework_options INTERFACE _CRT_SECURE_NO_WARNINGS)
elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(COURSEWORK_CHARSET_OPTIONS -finput-charset=UTF-8 -fexec-charset=GBK)
  target_compile_options(coursework_options INTERFACE -Wall -Wextra -Wpedantic)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Its -fexec-charset knows UTF-8 alone: it compiles copies of the sources
  # converted to GBK instead (cmake/GbkLiterals.cmake).
  target_compile_options(coursework_options INTERFACE -Wall -Wextra -Wpedantic)
endif()

# Continuous integration sets COURSEWORK_WERROR=ON in the environment, so that
# a compiler warning fails its build, never a user's.
if("$ENV{COURSEWORK_WERROR}")
  set(CMAKE_COMPILE_WARNING_AS_ERROR ON)
endif()

# A compiler that cannot make GBK literals would build programs that print
# the wrong bytes. The literals come out GBK through the compiler's option,
# or else through copies of the sources; configuration stops if neither way
# gives GBK bytes.
include(CheckCXXSourceCompiles)
include(${CMAKE_CURRENT_LIST_DIR}/GbkLiterals.cmake)
set(gbk_probe [[
constexpr const char* text = "中";
static_assert(sizeof("中") == 3 && static_cast<unsigned char>(text[0]) == 0xD6 &&
              static_cast<unsigned char>(text[1]) == 0xD0, "GBK literals");
int main() {}
]])
if(COURSEWORK_CHARSET_OPTIONS)
  list(JOIN COURSEWORK_CHARSET_OPTIONS " " CMAKE_REQUIRED_FLAGS)
  check_cxx_source_compiles("${gbk_probe}" COURSEWORK_GBK_LITERALS)
  unset(CMAKE_REQUIRED_FLAGS)
endif()
if(COURSEWORK_GBK_LITERALS)
  target_compile_options(coursework_options INTERFACE ${COURSEWORK_CHARSET_OPTIONS})
else()
  gbk_copies_probe("${gbk_probe}" COURSEWORK_GBK_COPIES)
  if(COURSEWORK_GBK_COPIES AND (COURSEWORK_TESTS OR COURSEWORK_BENCH))
    # Their u8"" literals of Chinese would be GBK in a copy, which no compiler takes.
    message(FATAL_ERROR
      "The tests and benchmarks are built by GCC, and run from there against the programs "
      "of another build (tests/clang/run). Configure ${CMAKE_CXX_COMPILER_ID} with "
      "-DCOURSEWORK_TESTS=OFF -DCOURSEWORK_BENCH=OFF, as the clang preset does.")
  elseif(COURSEWORK_GBK_COPIES)
    target_compile_options(coursework_options INTERFACE ${COURSEWORK_GBK_COPY_OPTIONS})
  else()
    message(FATAL_ERROR
      "${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} (${CMAKE_CXX_COMPILER}) cannot "
      "turn string literals into GBK bytes, neither by an option nor by compiling copies of the "
      "sources converted to GBK (see the messages above). Build with GCC (g++ 12 "
      "or later; MinGW-w64 GCC for Windows), Clang or MSVC: for example, remove the build "
      "folder and run again with CXX=g++.")
  endif()
endif()

if(MINGW)
  # The runtime's own printf and strtod differ from the C standard (inf and
  # nan, digits of large values); MinGW-w64's conforming ones give the same
  # bytes as on Linux. Every program is one .exe that needs no DLL beyond
  # those of Windows itself.
  target_compile_definitions(coursework_options INTERFACE __USE_MINGW_ANSI_STDIO=1)
  target_link_options(coursework_options INTERFACE -static)
endif()

if(COURSEWORK_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "The sanitizer build needs GCC.")
  endif()
  target_compile_options(coursework_options INTERFACE -fsanitize=address,undefined
                         -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(coursework_options INTERFACE -fsanitize=address,undefined)
endif()
