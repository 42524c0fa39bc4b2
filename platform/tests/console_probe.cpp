// console_probe: asks for names line by line and prints each in a field of
// eight bytes with its length, so the console set-up can be watched at work.
// Three answers do more: "分" prints a character cut in two by a flush, "多"
// prints more than the output buffer holds, "半" ends the program right after
// half a character.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/console.h"

namespace {

void print_cut_character() {
  const char* zhong = "中";
  std::putchar(zhong[0]);
  std::fflush(stdout);
  std::putchar(zhong[1]);
  std::putchar('\n');
}

// An odd number of bytes first, so that the buffer fills in the middle of a
// character.
void print_many() {
  std::putchar('a');
  for (int i = 0; i < 40000; ++i)
    std::fputs("中", stdout);
  std::putchar('\n');
}

[[noreturn]] void end_after_half_character() {
  std::printf("末%c", "中"[0]);
  std::exit(0);
}

}  // namespace

int main() {
  platform::start_console();
  char typed[256];
  for (;;) {
    std::printf("名字：");
    if (std::fgets(typed, sizeof typed, stdin) == nullptr) break;
    const std::string line(typed, std::strcspn(typed, "\r\n"));
    if (line == "分") {
      print_cut_character();
    } else if (line == "多") {
      print_many();
    } else if (line == "半") {
      end_after_half_character();
    } else {
      std::printf("[%-8s]%zu\n", line.c_str(), line.size());
    }
  }
  std::printf("再见");
  return 0;
}
