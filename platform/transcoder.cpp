#include "platform/transcoder.h"

#include <initializer_list>

#include "platform/gbk.h"

namespace platform {

Transcoder::Transcoder(Direction direction) : direction_(direction), ready_(available(direction)) {}

bool Transcoder::ready() const {
  return ready_;
}

void Transcoder::convert(std::string_view piece, std::string& out) {
  if (!ready_) {
    out.append(piece);
    return;
  }
  std::string joined;
  if (!held_.empty()) {
    joined = std::move(held_);
    held_.clear();
    piece = joined.append(piece);
  }
  while (!piece.empty()) {
    Stop stop = convert_start(direction_, piece, out);
    if (stop == Stop::cut) {
      held_.assign(piece);  // completed by the next piece
      return;
    }
    if (stop == Stop::unconvertible) {
      // Passed through as it stands. A GBK pair goes together, so that its
      // second byte is not taken for the start of the next character.
      std::size_t length = direction_ == Direction::gbk_to_utf8 ? gbk_character_length(piece) : 1;
      out.append(piece.substr(0, length));
      piece.remove_prefix(length);
    }
  }
}

void Transcoder::finish(std::string& out) {
  out.append(held_);
  held_.clear();
}

bool locale_is_gbk(const char* lc_all, const char* lc_ctype, const char* lang) {
  const char* name = lc_all && *lc_all ? lc_all : lc_ctype && *lc_ctype ? lc_ctype : lang;
  if (name == nullptr) return false;
  std::string_view charset(name);
  if (std::size_t dot = charset.find('.'); dot != std::string_view::npos)
    charset.remove_prefix(dot + 1);
  charset = charset.substr(0, charset.find('@'));
  std::string folded;  // "GB18030", "gb-18030", "Euc_Cn" all name theirs
  for (char c : charset) {
    if (c != '-' && c != '_') folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  for (const char* gbk_family : {"gbk", "gb2312", "gb18030", "cp936", "euccn"}) {
    if (folded == gbk_family) return true;
  }
  return false;
}

}  // namespace platform
