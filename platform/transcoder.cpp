#include "platform/transcoder.h"

#include <iconv.h>

#include <cerrno>
#include <initializer_list>

namespace platform {
namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

bool all_ascii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool is_gbk_lead(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}
bool is_gbk_trail(unsigned char c) {
  return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// The longest a character of either encoding can be; an incomplete one at the
// end of a piece is always shorter.
constexpr std::size_t kLongestCharacter = 4;

}  // namespace

Transcoder::Transcoder(Direction direction) : direction_(direction), cd_(nullptr) {
  iconv_t cd = direction == Direction::gbk_to_utf8 ? ::iconv_open("UTF-8", "GBK")
                                                   : ::iconv_open("GBK", "UTF-8");
  if (cd != kNoConversion) cd_ = cd;
}

Transcoder::~Transcoder() {
  if (cd_ != nullptr) ::iconv_close(static_cast<iconv_t>(cd_));
}

bool Transcoder::ready() const {
  return cd_ != nullptr;
}

void Transcoder::convert(std::string_view piece, std::string& out) {
  if (cd_ == nullptr || (held_.empty() && all_ascii(piece))) {
    out.append(piece);  // ASCII reads the same in both encodings
    return;
  }
  if (held_.empty()) {
    convert_run(piece, out);
    return;
  }
  std::string joined = std::move(held_);
  held_.clear();
  joined.append(piece);
  convert_run(joined, out);
}

void Transcoder::finish(std::string& out) {
  out.append(held_);
  held_.clear();
}

void Transcoder::convert_run(std::string_view text, std::string& out) {
  iconv_t cd = static_cast<iconv_t>(cd_);
  ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());  // iconv never writes to its input
  std::size_t left = text.size();
  while (left > 0) {
    // One GBK byte can become up to three UTF-8 bytes; UTF-8 never grows.
    std::size_t old = out.size();
    out.resize(old + 3 * left + kLongestCharacter);
    char* to = out.data() + old;
    std::size_t room = out.size() - old;
    std::size_t done = ::iconv(cd, &in, &left, &to, &room);
    out.resize(static_cast<std::size_t>(to - out.data()));
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    if (errno == EINVAL && left < kLongestCharacter) {
      held_.assign(in, left);  // the rest of this character comes with the next piece
      return;
    }
    std::size_t skip = unconvertible_length(std::string_view(in, left));
    out.append(in, skip);
    in += skip;
    left -= skip;
  }
}

// How many bytes at the start of `text` to pass through as they are. A GBK
// lead byte takes its trail byte along, so that the trail byte is not read as
// the start of another character; a lead byte followed by anything else (a
// line break, say) goes alone. In UTF-8 no continuation byte can start a
// character, so passing one byte at a time keeps every byte in its place.
std::size_t Transcoder::unconvertible_length(std::string_view text) const {
  if (direction_ == Direction::gbk_to_utf8 && text.size() >= 2 &&
      is_gbk_lead(static_cast<unsigned char>(text[0])) &&
      is_gbk_trail(static_cast<unsigned char>(text[1]))) {
    return 2;
  }
  return 1;
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
