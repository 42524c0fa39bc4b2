# Writes COPY, the source file SOURCE converted whole from UTF-8 to GBK by
# iconv, for a compiler that keeps the bytes of a narrow literal as they
# stand but cannot make GBK of them itself (cmake/GbkLiterals.cmake):
#
#   cmake -DSOURCE=<file> -DCOPY=<file> -P GbkCopy.cmake
#
# The copy starts with a #line directive naming SOURCE, so that diagnostics
# and __FILE__ are the original's; every other line stays where it was.
# A character GBK lacks is an error, and so is one whose GBK form ends in the
# byte of a backslash (乗, 誠 and 114 more): in a literal it would escape
# what follows it, in a // comment carry the comment on to the next line.
# After an error the copy is left as it was.

# Stops with an error at the line of the character that starts at
# <characters>[<at>], a list of the text's characters as hexadecimal digits.
function(refuse characters at what)
  list(SUBLIST characters 0 ${at} before)
  list(FILTER before INCLUDE REGEX "^0a$")
  list(LENGTH before breaks)
  math(EXPR line "${breaks} + 1")
  message("${SOURCE}:${line}: error: ${what}")  # on one line, as a compiler says it
  message(FATAL_ERROR "No GBK copy of ${SOURCE}")
endfunction()

execute_process(COMMAND iconv -f UTF-8 -t GBK ${SOURCE} OUTPUT_VARIABLE text
                ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  string(STRIP "${error}" error)
  set(at 0)
  if(error MATCHES "position ([0-9]+)")  # a byte of SOURCE
    set(at ${CMAKE_MATCH_1})
    file(READ ${SOURCE} bytes HEX)
    string(REGEX MATCHALL ".." bytes "${bytes}")
  endif()
  refuse("${bytes}" ${at} "text that has no GBK form (${error})")
endif()

# The copy cut into its characters, as hexadecimal digits: an ASCII byte, or
# a GBK lead byte with its second byte.
string(HEX "${text}" hex)
string(REGEX MATCHALL "[0-7].|...." characters "${hex}")
set(backslashed ${characters})
list(FILTER backslashed INCLUDE REGEX "^..5c$")
if(backslashed)
  list(GET backslashed 0 first)
  list(FIND characters ${first} at)
  refuse("${characters}" ${at} "a character whose GBK form ends in the byte of a backslash")
endif()

string(REGEX REPLACE "([\\\"])" "\\\\\\1" name "${SOURCE}")
file(WRITE ${COPY} "#line 1 \"${name}\"\n${text}")
