// The conversions of the C library's iconv, which says where and why it
// stopped.
#include <iconv.h>

#include <cerrno>

#include "platform/codec.h"

namespace platform::codec {
namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

// One descriptor for each direction, opened when first needed.
iconv_t descriptor(Direction direction) {
  static const iconv_t to_utf8 = ::iconv_open("UTF-8", "GBK");
  static const iconv_t to_gbk = ::iconv_open("GBK", "UTF-8");
  return direction == Direction::gbk_to_utf8 ? to_utf8 : to_gbk;
}

}  // namespace

bool available(Direction direction) {
  return descriptor(direction) != kNoConversion;
}

Converted convert(Direction direction, std::string_view text, std::string& out) {
  char* in = const_cast<char*>(text.data());  // iconv never writes to its input
  std::size_t left = text.size();
  for (;;) {
    char block[1024];
    char* to = block;
    std::size_t room = sizeof block;
    const bool stopped =
        ::iconv(descriptor(direction), &in, &left, &to, &room) == static_cast<std::size_t>(-1);
    out.append(block, static_cast<std::size_t>(to - block));
    const std::size_t length = text.size() - left;
    if (!stopped) return {length, Stop::end};
    if (errno == EINVAL) return {length, Stop::cut};
    if (errno != E2BIG) return {length, Stop::unconvertible};
  }
}

}  // namespace platform::codec
