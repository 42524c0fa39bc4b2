#include "platform/transcoder.h"

#include <initializer_list>

#include "platform/codec.h"
#include "platform/gbk.h"

namespace platform {
namespace {

bool all_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// What stands at the start of a piece of text: a whole character, the start
// of one cut off by the end of the piece, or a byte that starts none.
enum class Found { whole, cut, stray };

struct Scanned {
  Found found;
  std::size_t length;
};

Scanned scan_gbk(std::string_view text) {
  unsigned char c = static_cast<unsigned char>(text[0]);
  if (c < 0x80) return {Found::whole, 1};
  if (!is_gbk_lead(c)) return {Found::stray, 1};
  if (text.size() == 1) return {Found::cut, 1};
  return gbk_character_length(text) == 2 ? Scanned{Found::whole, 2} : Scanned{Found::stray, 1};
}

// Well-formed UTF-8 only: no overlong forms, surrogates or values beyond
// U+10FFFF. A malformed sequence leaves its first byte alone.
Scanned scan_utf8(std::string_view text) {
  unsigned char c = static_cast<unsigned char>(text[0]);
  if (c < 0x80) return {Found::whole, 1};
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return {Found::stray, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i == text.size()) return {Found::cut, i};
    unsigned char next = static_cast<unsigned char>(text[i]);
    if (i == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF))
      return {Found::stray, 1};
  }
  return {Found::whole, length};
}

}  // namespace

Transcoder::Transcoder(Direction direction)
    : direction_(direction), ready_(codec::available(direction)) {}

bool Transcoder::ready() const {
  return ready_;
}

void Transcoder::convert(std::string_view piece, std::string& out) {
  if (!ready_ || (held_.empty() && all_ascii(piece))) {
    out.append(piece);  // ASCII reads the same in both encodings
    return;
  }
  std::string joined;
  std::string_view text = piece;
  if (!held_.empty()) {
    joined = std::move(held_);
    held_.clear();
    joined.append(piece);
    text = joined;
  }
  // Runs of whole characters go to the codec together; stray bytes pass.
  std::size_t run = 0, at = 0;
  while (at < text.size()) {
    std::string_view rest = text.substr(at);
    Scanned next = direction_ == Direction::gbk_to_utf8 ? scan_gbk(rest) : scan_utf8(rest);
    if (next.found == Found::whole) {
      at += next.length;
      continue;
    }
    convert_characters(text.substr(run, at - run), out);
    if (next.found == Found::cut) {
      held_.assign(rest);  // completed by the next piece
      return;
    }
    out.append(rest.substr(0, next.length));
    at += next.length;
    run = at;
  }
  convert_characters(text.substr(run), out);
}

void Transcoder::finish(std::string& out) {
  out.append(held_);
  held_.clear();
}

void Transcoder::convert_characters(std::string_view text, std::string& out) {
  if (text.empty() || codec::convert(direction_, text, out)) return;
  convert_one_by_one(text, out);
}

// Some character of the run has no counterpart: each character on its own,
// the ones without a counterpart passed through as they stand.
void Transcoder::convert_one_by_one(std::string_view text, std::string& out) {
  while (!text.empty()) {
    std::size_t length =
        direction_ == Direction::gbk_to_utf8 ? scan_gbk(text).length : scan_utf8(text).length;
    std::string_view character = text.substr(0, length);
    if (!codec::convert(direction_, character, out)) out.append(character);
    text.remove_prefix(length);
  }
}

bool locale_is_gbk(const char* lc_all, const char* lc_ctype, const char* lang) {
  const char* name = nullptr;
  for (const char* candidate : {lc_all, lc_ctype, lang}) {
    if (candidate != nullptr && *candidate != '\0') {
      name = candidate;
      break;
    }
  }
  if (name == nullptr) return false;
  std::string_view charset(name);
  std::size_t dot = charset.find('.');
  if (dot != std::string_view::npos) charset.remove_prefix(dot + 1);
  charset = charset.substr(0, charset.find('@'));
  std::string folded;  // "GB18030", "gb-18030", "Euc_Cn" all name theirs
  for (char c : charset) {
    if (c == '-' || c == '_') continue;
    folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  for (const char* gbk_family : {"gbk", "gb2312", "gb18030", "cp936", "euccn"}) {
    if (folded == gbk_family) return true;
  }
  return false;
}

}  // namespace platform
