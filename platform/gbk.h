// GBK text as bytes: cutting text to a field without splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Length of the longest prefix of `text` that holds at most `max_bytes` bytes
// and does not end inside a two-byte GBK character (a byte 0x81-0xFE starts
// one and takes the byte after it along).
std::size_t gbk_prefix_length(std::string_view text, std::size_t max_bytes);

// Copies as much of `text` as fits into a field of `capacity` bytes (text and
// a terminating zero), cut at a character boundary, and zero-fills the rest.
void copy_field(char* field, std::size_t capacity, std::string_view text);

}  // namespace platform
