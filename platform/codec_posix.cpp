// The conversions of the C library's iconv.
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

bool convert(Direction direction, std::string_view characters, std::string& out) {
  iconv_t cd = descriptor(direction);
  if (cd == kNoConversion) return false;
  ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  const std::size_t old = out.size();
  char* in = const_cast<char*>(characters.data());  // iconv never writes to its input
  std::size_t left = characters.size();
  while (left > 0) {
    // One GBK byte becomes at most three UTF-8 bytes; UTF-8 never grows.
    std::size_t used = out.size();
    out.resize(used + 3 * left + 4);
    char* to = out.data() + used;
    std::size_t room = out.size() - used;
    std::size_t done = ::iconv(cd, &in, &left, &to, &room);
    out.resize(static_cast<std::size_t>(to - out.data()));
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.resize(old);
      return false;
    }
  }
  return true;
}

}  // namespace platform::codec
