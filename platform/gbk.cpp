#include "platform/gbk.h"

#include <cstring>

namespace platform {

std::size_t gbk_prefix_length(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text.size();  // it all fits
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t width = gbk_character_length(text.substr(i));
    if (i + width > max_bytes) break;
    i += width;
  }
  return i;
}

void copy_field(char* field, std::size_t capacity, std::string_view text) {
  if (capacity == 0) return;
  std::size_t n = gbk_prefix_length(text, capacity - 1);
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, capacity - n);
}

}  // namespace platform
