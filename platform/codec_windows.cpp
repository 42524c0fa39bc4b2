// The conversions of Windows' own code page tables: 936 for GBK. Windows
// converts a text whole or not at all, so it is given a character at a time,
// which is fast enough for what a console shows and types.
#include <windows.h>

#include "platform/gbk.h"
#include "platform/transcoder.h"
#include "platform/utf16_windows.h"

namespace platform {
namespace {

// The length of the character that starts with `first`, told by that byte.
std::size_t character_length(Direction direction, char first) {
  const auto c = static_cast<unsigned char>(first);
  if (direction == Direction::gbk_to_utf8) return is_gbk_lead(c) ? 2 : 1;
  return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// Converts one character; false when it does not convert.
bool convert_character(Direction direction, std::string_view character, std::string& out) {
  const bool to_utf8 = direction == Direction::gbk_to_utf8;
  std::wstring wide = windows::to_utf16(to_utf8 ? windows::kGbkCodePage : windows::kUtf8CodePage,
                                        character, MB_ERR_INVALID_CHARS);
  if (wide.empty()) return false;
  if (to_utf8) {
    out += windows::to_utf8(wide);
    return true;
  }
  // A character GBK lacks must not be replaced by a look-alike or a '?'.
  char gbk[4];
  BOOL defaulted = FALSE;
  int length =
      ::WideCharToMultiByte(windows::kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), gbk, sizeof gbk, nullptr, &defaulted);
  if (length <= 0 || defaulted) return false;
  out.append(gbk, static_cast<std::size_t>(length));
  return true;
}

}  // namespace

bool Transcoder::available(Direction /*direction*/) {
  return ::IsValidCodePage(windows::kGbkCodePage) != 0;
}

Transcoder::Stop Transcoder::convert_start(Direction direction, std::string_view& text,
                                           std::string& out) {
  for (std::size_t length = 0; !text.empty(); text.remove_prefix(length)) {
    length = character_length(direction, text[0]);
    if (length > text.size()) return Stop::cut;
    if (!convert_character(direction, text.substr(0, length), out)) return Stop::unconvertible;
  }
  return Stop::end;
}

}  // namespace platform
