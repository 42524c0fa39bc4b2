// Reverses a zero-terminated string in place, as the runtime's _strrev does
// on the platform the programs were first written for.
#pragma once

#include <cstring>
#include <utility>

namespace platform {

// Reverses the characters before the terminator, byte by byte, and returns
// the string. An empty string stays as it is.
inline char* _strrev(char* text) {
  std::size_t length = std::strlen(text);
  for (std::size_t i = 0; i + 1 < length - i; ++i)
    std::swap(text[i], text[length - 1 - i]);
  return text;
}

}  // namespace platform
