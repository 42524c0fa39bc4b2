// The conversions of Windows' own code page tables: 936 for GBK.
#include <windows.h>

#include "platform/codec.h"
#include "platform/utf16_windows.h"

namespace platform::codec {

bool available(Direction /*direction*/) {
  return ::IsValidCodePage(windows::kGbkCodePage) != 0;
}

bool convert(Direction direction, std::string_view characters, std::string& out) {
  const bool to_utf8 = direction == Direction::gbk_to_utf8;
  const UINT from = to_utf8 ? windows::kGbkCodePage : CP_UTF8;
  const UINT to = to_utf8 ? CP_UTF8 : windows::kGbkCodePage;
  if (characters.size() > 0x10000000) return false;  // counted in int below
  const int size = static_cast<int>(characters.size());
  int wide = ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, characters.data(), size, nullptr, 0);
  if (wide <= 0) return false;
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, characters.data(), size, text.data(), wide);
  // A character GBK lacks must not be replaced by a look-alike or a '?'.
  const DWORD flags = to_utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* used_default = to_utf8 ? nullptr : &defaulted;
  int length =
      ::WideCharToMultiByte(to, flags, text.data(), wide, nullptr, 0, nullptr, used_default);
  if (length <= 0 || defaulted) return false;
  const std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(length));
  ::WideCharToMultiByte(to, flags, text.data(), wide, out.data() + old, length, nullptr, nullptr);
  return true;
}

}  // namespace platform::codec
