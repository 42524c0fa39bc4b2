// Text as Windows takes it, UTF-16, from and to the checker's UTF-8 and the
// programs' GBK (code page 936, whatever the system's own code page is).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace check::windows {

inline constexpr UINT kGbkCodePage = 936;

// Bytes that are no character of the code page become a character of their
// own (U+FFFD or '?').
inline std::wstring to_utf16(UINT code_page, std::string_view text) {
  const int size = static_cast<int>(text.size());
  std::wstring wide(text.size(), L'\0');  // never more characters than bytes
  wide.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), size)));
  return wide;
}

inline std::string to_utf8(std::wstring_view wide) {
  const int size = static_cast<int>(wide.size());
  std::string text(wide.size() * 3, '\0');
  text.resize(static_cast<std::size_t>(
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr)));
  return text;
}

}  // namespace check::windows
