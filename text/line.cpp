#include "text/line.h"

bool get_line(std::FILE* in, std::string& line) {
  constexpr std::size_t kPiece = 1 << 16;
  std::size_t length = 0;  // of the text read so far
  bool read = false;
  for (;;) {
    // fgets ends what it read with a zero byte and leaves the rest of its
    // room as it was: with the room full of line breaks beforehand, the last
    // zero byte ends the text, and NUL bytes of the line come before it.
    line.resize(length);
    line.resize(length + kPiece, '\n');
    if (std::fgets(line.data() + length, kPiece, in) == nullptr) break;
    read = true;
    std::size_t end = line.size() - 1;
    while (line[end] != '\0')
      --end;
    length = end;
    if (length > 0 && line[length - 1] == '\n') {
      --length;
      break;
    }
  }
  line.resize(length);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return read && !std::ferror(in);
}
