// Reverses a zero-terminated string in place and returns it: the runtime's
// own _strrev on Windows, a stand-in that does the same elsewhere.
#pragma once

#include <algorithm>
#include <cstring>

namespace platform {

#if defined(_WIN32)
using ::_strrev;
#else
inline char* _strrev(char* text) {
  std::reverse(text, text + std::strlen(text));
  return text;
}
#endif

}  // namespace platform
