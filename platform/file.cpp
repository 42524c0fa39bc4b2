#include "platform/file.h"

namespace platform {

std::size_t read_fully(int descriptor, char* into, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    long n = read_some(descriptor, into + got, size - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

}  // namespace platform
