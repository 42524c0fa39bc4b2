#include "text/line.h"

#include "platform/input.h"

namespace text {

bool read_typed_line(std::string& line) {
  if (!platform::stdin_reader().read_line(line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace text
