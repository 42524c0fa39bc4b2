#include <windows.h>

#include "checker/encoding.h"

namespace check {
namespace {

constexpr UINT kGbk = 936;

bool to_wide(UINT code_page, std::string_view text, std::wstring& wide) {
  int size = ::MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return false;
  wide.assign(static_cast<std::size_t>(size), L'\0');
  return ::MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), wide.data(), size) == size;
}

bool from_wide(UINT code_page, const std::wstring& wide, std::string& text) {
  BOOL defaulted = FALSE;
  // UTF-8 takes every character; GBK says when it had to put in a default.
  BOOL* lacking = code_page == CP_UTF8 ? nullptr : &defaulted;
  DWORD flags = code_page == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  int size = ::WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, lacking);
  if (size <= 0 || defaulted) return false;
  text.assign(static_cast<std::size_t>(size), '\0');
  return ::WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()),
                               text.data(), size, nullptr, lacking) == size &&
         !defaulted;
}

}  // namespace

bool convert_text(bool to_utf8, std::string_view text, std::string& out) {
  if (text.empty()) return true;
  std::wstring wide;
  std::string converted;
  if (!to_wide(to_utf8 ? kGbk : CP_UTF8, text, wide) ||
      !from_wide(to_utf8 ? CP_UTF8 : kGbk, wide, converted))
    return false;
  out += converted;
  return true;
}

}  // namespace check
