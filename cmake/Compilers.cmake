# What each compiler is told. Sources are UTF-8, and every narrow literal must
# become GBK bytes in the binary: the programs' text is GBK on every system.
if(MSVC)
  # Not tried here: no Visual Studio on the build machine.
  set(COURSEWORK_CHARSET_OPTIONS /source-charset:utf-8 /execution-charset:.936)
  add_compile_options(/W4 /Zc:__cplusplus)
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(COURSEWORK_CHARSET_OPTIONS -finput-charset=UTF-8 -fexec-charset=GBK)
  add_compile_options(-Wall -Wextra -Wpedantic)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Its -fexec-charset knows UTF-8 alone: it compiles copies of the sources
  # with GBK escapes instead (cmake/GbkLiterals.cmake).
  add_compile_options(-Wall -Wextra -Wpedantic)
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
  add_compile_options(${COURSEWORK_CHARSET_OPTIONS})
else()
  gbk_copies_probe("${gbk_probe}" COURSEWORK_GBK_COPIES)
  if(NOT COURSEWORK_GBK_COPIES)
    message(FATAL_ERROR
      "${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} (${CMAKE_CXX_COMPILER}) cannot "
      "turn string literals into GBK bytes, neither by an option nor by compiling copies of the "
      "sources made by tools/gbk_literals.cpp (see the messages above). Build with GCC (g++ 12 "
      "or later; MinGW-w64 GCC for Windows), Clang or MSVC: for example, remove the build "
      "folder and run again with CXX=g++.")
  endif()
endif()

if(MINGW)
  # The runtime's own printf and strtod differ from the C standard (inf and
  # nan, digits of large values); MinGW-w64's conforming ones give the same
  # bytes as on Linux. Every program is one .exe that needs no DLL beyond
  # those of Windows itself.
  add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
  add_link_options(-static)
endif()

if(COURSEWORK_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "The sanitizer build needs GCC.")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
