// The conversions of Windows' own code page tables: 936 for GBK. Windows
// converts a text whole or not at all, so text goes in runs of whole
// characters, and a run that fails a character at a time, up to the one that
// does not convert.
#include <windows.h>

#include "platform/codec.h"
#include "platform/gbk.h"
#include "platform/utf16_windows.h"

namespace platform::codec {
namespace {

constexpr std::size_t kLongestRun = 256;

// The length of the character that starts with `first`, told by that byte.
std::size_t character_length(Direction direction, char first) {
  const auto c = static_cast<unsigned char>(first);
  if (direction == Direction::gbk_to_utf8) return is_gbk_lead(c) ? 2 : 1;
  return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// The end of the run of whole characters that starts at `from`.
std::size_t end_of_run(Direction direction, std::string_view text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size()) {
    std::size_t next = end + character_length(direction, text[end]);
    if (next > text.size() || next - from > kLongestRun) break;
    end = next;
  }
  return end;
}

// Converts the whole text and appends it to `out`; false, with `out` as it
// was, when some character does not convert.
bool convert_whole(Direction direction, std::string_view text, std::string& out) {
  const bool to_utf8 = direction == Direction::gbk_to_utf8;
  const UINT from = to_utf8 ? windows::kGbkCodePage : CP_UTF8;
  const UINT to = to_utf8 ? CP_UTF8 : windows::kGbkCodePage;
  const int size = static_cast<int>(text.size());
  WCHAR wide[kLongestRun];
  int length =
      ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), size, wide, kLongestRun);
  if (length <= 0) return false;
  // A character GBK lacks must not be replaced by a look-alike or a '?'.
  const DWORD flags = to_utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  char bytes[3 * kLongestRun];
  int written = ::WideCharToMultiByte(to, flags, wide, length, bytes, sizeof bytes, nullptr,
                                      to_utf8 ? nullptr : &defaulted);
  if (written <= 0 || defaulted) return false;
  out.append(bytes, static_cast<std::size_t>(written));
  return true;
}

}  // namespace

bool available(Direction /*direction*/) {
  return ::IsValidCodePage(windows::kGbkCodePage) != 0;
}

Converted convert(Direction direction, std::string_view text, std::string& out) {
  std::size_t done = 0;
  while (done < text.size()) {
    const std::size_t end = end_of_run(direction, text, done);
    if (end == done) return {done, Stop::cut};
    if (convert_whole(direction, text.substr(done, end - done), out)) {
      done = end;
      continue;
    }
    while (done < end) {
      const std::size_t length = character_length(direction, text[done]);
      if (!convert_whole(direction, text.substr(done, length), out))
        return {done, Stop::unconvertible};
      done += length;
    }
  }
  return {done, Stop::end};
}

}  // namespace platform::codec
