// 连接: reads two lines, appends the second to the first and writes the
// joined line.
#include <cstdio>
#include <string>

#include "platform/console.h"
#include "text/line.h"

// Appends the zero-terminated source to the zero-terminated destination, in
// the destination's buffer, which must have room for both and the zero.
void copy(char* destination, char* source) {
  std::size_t i = 0;
  while (destination[i] != '\0')
    ++i;
  for (std::size_t j = 0; source[j] != '\0'; ++i, ++j)
    destination[i] = source[j];
  destination[i] = '\0';
}

int main() {
  platform::start_console();
  std::string first, second;
  std::fputs("请输入第一个字符串：", stdout);
  if (!get_line(stdin, first)) return 0;  // no line typed: nothing to join
  std::fputs("请输入第二个字符串：", stdout);
  if (!get_line(stdin, second)) return 0;

  const std::size_t length = first.size();
  first.resize(length + second.size());  // room for both lines and the zero
  first[length] = '\0';
  copy(first.data(), second.data());
  std::puts(first.data());
  return 0;
}
