// GBK text as bytes: where its characters begin and end.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// A byte 0x81-0xFE starts a two-byte character; the byte after it completes
// the character when it is 0x40-0xFE but not 0x7F.
constexpr bool is_gbk_lead(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}
constexpr bool is_gbk_trail(unsigned char c) {
  return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// The length of the character at the start of non-empty `text`: 2 for a
// lead byte and its trail byte, 1 for anything else (a byte that is not
// GBK, or a lead byte with no trail byte after it, stands alone).
constexpr std::size_t gbk_character_length(std::string_view text) {
  return text.size() >= 2 && is_gbk_lead(static_cast<unsigned char>(text[0])) &&
                 is_gbk_trail(static_cast<unsigned char>(text[1]))
             ? 2
             : 1;
}

}  // namespace platform
