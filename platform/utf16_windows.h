// Text as Windows takes it: UTF-16, converted from and to the byte
// encodings the programs use (code page 936 for GBK, or UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace platform::windows {

inline constexpr unsigned kGbkCodePage = 936;
inline constexpr unsigned kUtf8CodePage = 65001;

// Bytes of the code page as UTF-16; bytes that are no character of it become
// U+FFFD, or with the flag MB_ERR_INVALID_CHARS leave the result empty.
std::wstring to_utf16(unsigned code_page, std::string_view bytes, unsigned long flags = 0);

// UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string to_utf8(std::wstring_view text);

}  // namespace platform::windows
