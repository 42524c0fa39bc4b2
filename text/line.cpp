#include "text/line.h"

#include <cstring>

bool get_line(std::FILE* in, std::string& line) {
  line.clear();
  char chunk[4096];
  bool read = false;
  for (;;) {
    // fgets ends what it read with a zero byte and leaves the rest of the
    // chunk as it was; with the chunk full of line breaks beforehand, its
    // last zero byte ends the text, and NUL bytes of the line come before.
    std::memset(chunk, '\n', sizeof chunk);
    if (std::fgets(chunk, sizeof chunk, in) == nullptr) break;
    read = true;
    std::size_t length = sizeof chunk - 1;
    while (chunk[length] != '\0')
      --length;
    const bool ended = length > 0 && chunk[length - 1] == '\n';
    line.append(chunk, ended ? length - 1 : length);
    if (ended) break;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return read && !std::ferror(in);
}
