# What each compiler is told. Sources are UTF-8, and every narrow literal must
# become GBK bytes in the binary: the programs' text is GBK on every system.
if(MSVC)
  # Not tried here: no Visual Studio on the build machine.
  add_compile_options(/W4 /source-charset:utf-8 /execution-charset:.936 /Zc:__cplusplus)
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wall -Wextra -Wpedantic -finput-charset=UTF-8 -fexec-charset=GBK)
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
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
