#include "platform/utf16_windows.h"

#include <windows.h>

#include <climits>

namespace platform::windows {

// Every text handed over here is a name or a piece of console text, far
// below the int range the conversion functions count in.

std::wstring to_utf16(unsigned code_page, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX / 2) return {};
  const int size = static_cast<int>(bytes.size());
  int length = ::MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(code_page, 0, bytes.data(), size, text.data(), length);
  return text;
}

std::string to_utf8(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX / 4) return {};
  const int size = static_cast<int>(text.size());
  int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

}  // namespace platform::windows
