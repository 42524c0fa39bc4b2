// What follows a helper's own name on its command line, as Windows passes
// it: the helper's name may be quoted.
#pragma once

#include <windows.h>

inline wchar_t* command_tail() {
  wchar_t* line = ::GetCommandLineW();
  bool quoted = false;
  for (; *line != L'\0'; ++line) {
    if (*line == L'"') {
      quoted = !quoted;
    } else if (!quoted && (*line == L' ' || *line == L'\t')) {
      break;
    }
  }
  while (*line == L' ' || *line == L'\t')
    ++line;
  return line;
}
