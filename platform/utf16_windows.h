// GBK text as Windows takes it: UTF-16, through code page 936 whatever the
// system's own code page is.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform::windows {

inline constexpr unsigned kGbkCodePage = 936;

// Bytes that are no character of the code page become a character of their
// own (U+FFFD or '?'). Names and console text are far below int's range.
inline std::wstring to_utf16(std::string_view gbk) {
  const int size = static_cast<int>(gbk.size());
  std::wstring text(gbk.size(), L'\0');  // never more characters than bytes
  text.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), size, text.data(), size)));
  return text;
}

}  // namespace platform::windows
