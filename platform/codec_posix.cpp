// The conversions of the C library's iconv, which says where and why it
// stopped.
#include <iconv.h>

#include <cerrno>

#include "platform/transcoder.h"

namespace platform {
namespace {

// One descriptor for each direction, opened when first needed.
iconv_t descriptor(Direction direction) {
  static const iconv_t to_utf8 = ::iconv_open("UTF-8", "GBK");
  static const iconv_t to_gbk = ::iconv_open("GBK", "UTF-8");
  return direction == Direction::gbk_to_utf8 ? to_utf8 : to_gbk;
}

}  // namespace

bool Transcoder::available(Direction direction) {
  return descriptor(direction) != reinterpret_cast<iconv_t>(-1);
}

Transcoder::Stop Transcoder::convert_start(Direction direction, std::string_view& text,
                                           std::string& out) {
  char* in = const_cast<char*>(text.data());  // iconv never writes to its input
  std::size_t left = text.size();
  for (;;) {
    char block[1024];
    char* to = block;
    std::size_t room = sizeof block;
    std::size_t result = ::iconv(descriptor(direction), &in, &left, &to, &room);
    out.append(block, static_cast<std::size_t>(to - block));
    text.remove_prefix(text.size() - left);
    if (result != static_cast<std::size_t>(-1)) return Stop::end;
    if (errno != E2BIG) return errno == EINVAL ? Stop::cut : Stop::unconvertible;
  }
}

}  // namespace platform
