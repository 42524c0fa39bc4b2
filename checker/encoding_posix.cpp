#include <iconv.h>

#include "checker/encoding.h"

namespace check {

bool convert_text(bool to_utf8, std::string_view text, std::string& out) {
  // iconv keeps state: a descriptor for each thread and direction.
  thread_local const iconv_t to_utf8_descriptor = ::iconv_open("UTF-8", "GBK");
  thread_local const iconv_t to_gbk_descriptor = ::iconv_open("GBK", "UTF-8");
  iconv_t descriptor = to_utf8 ? to_utf8_descriptor : to_gbk_descriptor;
  if (descriptor == reinterpret_cast<iconv_t>(-1)) return false;
  ::iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
  std::string converted(text.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(text.data());  // iconv never writes to its input
  std::size_t left = text.size();
  char* to = converted.data();
  std::size_t room = converted.size();
  if (::iconv(descriptor, &in, &left, &to, &room) == static_cast<std::size_t>(-1)) return false;
  out.append(converted.data(), converted.size() - room);
  return true;
}

}  // namespace check
