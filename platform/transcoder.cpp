#include "platform/transcoder.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>

#include "platform/gbk.h"

namespace platform {
namespace {

// One descriptor for each direction, opened when first needed.
iconv_t descriptor(Direction direction) {
  static const iconv_t to_utf8 = ::iconv_open("UTF-8", "GBK");
  static const iconv_t to_gbk = ::iconv_open("GBK", "UTF-8");
  return direction == Direction::gbk_to_utf8 ? to_utf8 : to_gbk;
}

}  // namespace

bool Transcoder::ready() const {
  return descriptor(direction_) != reinterpret_cast<iconv_t>(-1);
}

void Transcoder::convert(std::string_view piece, std::string& out) {
  if (!ready()) {
    out.append(piece);
    return;
  }
  std::string text = std::move(held_);
  held_.clear();
  text.append(piece);
  char* in = text.data();  // iconv never writes to its input
  std::size_t left = text.size();
  while (left > 0) {
    char block[1024];
    char* to = block;
    std::size_t room = sizeof block;
    const bool stopped = ::iconv(descriptor(direction_), &in, &left, &to, &room) == std::size_t(-1);
    out.append(block, static_cast<std::size_t>(to - block));
    if (!stopped || errno == E2BIG) continue;
    if (errno == EINVAL) {  // a character cut off, completed by the next piece
      held_.assign(in, left);
      return;
    }
    // Passed through as it stands. A GBK pair goes together, so that its
    // second byte is not taken for the start of the next character.
    std::size_t length =
        direction_ == Direction::gbk_to_utf8 ? gbk_character_length(std::string_view(in, left)) : 1;
    out.append(in, length);
    in += length;
    left -= length;
  }
}

void Transcoder::finish(std::string& out) {
  out.append(held_);
  held_.clear();
}

bool locale_is_gbk(const char* lc_all, const char* lc_ctype, const char* lang) {
  const char* name = lc_all && *lc_all ? lc_all : lc_ctype && *lc_ctype ? lc_ctype : lang;
  std::string_view charset(name != nullptr ? name : "");
  charset = charset.substr(charset.find('.') + 1);  // the whole name when it has no dot
  charset = charset.substr(0, charset.find('@'));
  std::string folded;  // "GB18030", "gb-18030", "Euc_Cn" all name theirs
  for (char c : charset) {
    if (c != '-' && c != '_')
      folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folded == "gbk" || folded == "gb2312" || folded == "gb18030" || folded == "cp936" ||
         folded == "euccn";
}

}  // namespace platform
