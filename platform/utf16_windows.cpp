#include "platform/utf16_windows.h"

#include <windows.h>

#include <climits>

namespace platform::windows {

// Every text handed over here is a name or a piece of console text, far
// below the int range the conversion functions count in. A failed
// conversion counts 0 characters.

std::wstring to_utf16(unsigned code_page, std::string_view bytes, unsigned long flags) {
  if (bytes.size() > INT_MAX / 2) return {};
  const int size = static_cast<int>(bytes.size());
  std::wstring text(bytes.size(), L'\0');  // never more characters than bytes
  int length = ::MultiByteToWideChar(code_page, flags, bytes.data(), size, text.data(), size);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string to_utf8(std::wstring_view text) {
  if (text.size() > INT_MAX / 4) return {};
  const int size = static_cast<int>(text.size());
  std::string bytes(3 * text.size(), '\0');  // three bytes at most for each UTF-16 unit
  int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), 3 * size, nullptr,
                                     nullptr);
  bytes.resize(static_cast<std::size_t>(length));
  return bytes;
}

}  // namespace platform::windows
