// The conversions of Windows' own code page tables: 936 for GBK. Windows
// converts a text whole or not at all, so text goes in runs of whole
// characters, and a run that fails again a character at a time, up to the
// one that does not convert.
#include <windows.h>

#include "platform/gbk.h"
#include "platform/transcoder.h"
#include "platform/utf16_windows.h"

namespace platform {
namespace {

constexpr std::size_t kLongestRun = 256;

// The length of the character that starts with `first`, told by that byte.
std::size_t character_length(Direction direction, char first) {
  const auto c = static_cast<unsigned char>(first);
  if (direction == Direction::gbk_to_utf8) return is_gbk_lead(c) ? 2 : 1;
  return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// Converts the whole text, or nothing when some character does not convert.
bool convert_whole(Direction direction, std::string_view text, std::string& out) {
  const bool to_utf8 = direction == Direction::gbk_to_utf8;
  std::wstring wide = windows::to_utf16(to_utf8 ? windows::kGbkCodePage : windows::kUtf8CodePage,
                                        text, MB_ERR_INVALID_CHARS);
  if (wide.empty()) return false;
  if (to_utf8) {
    out += windows::to_utf8(wide);
    return true;
  }
  // A character GBK lacks must not be replaced by a look-alike or a '?'.
  char gbk[2 * kLongestRun];
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
  while (!text.empty()) {
    std::size_t run = 0;  // whole characters, kLongestRun bytes at most
    for (std::size_t next = 0; run < text.size(); run = next) {
      next = run + character_length(direction, text[run]);
      if (next > text.size() || next > kLongestRun) break;
    }
    if (run == 0) return Stop::cut;
    if (convert_whole(direction, text.substr(0, run), out)) {
      text.remove_prefix(run);
      continue;
    }
    for (std::size_t length = 0; run > 0; run -= length, text.remove_prefix(length)) {
      length = character_length(direction, text[0]);
      if (!convert_whole(direction, text.substr(0, length), out)) return Stop::unconvertible;
    }
  }
  return Stop::end;
}

}  // namespace platform
