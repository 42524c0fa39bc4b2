// Reverses a zero-terminated string in place: the runtime's own _strrev
// where the runtime has one, a stand-in that does the same elsewhere.
#pragma once

#if defined(_WIN32)
#include <string.h>
#else
#include <cstring>
#include <utility>
#endif

namespace platform {

#if defined(_WIN32)
using ::_strrev;
#else
// Reverses the characters before the terminator, byte by byte, and returns
// the string. An empty string stays as it is.
inline char* _strrev(char* text) {
  std::size_t length = std::strlen(text);
  for (std::size_t i = 0; i + 1 < length - i; ++i)
    std::swap(text[i], text[length - 1 - i]);
  return text;
}
#endif

}  // namespace platform
