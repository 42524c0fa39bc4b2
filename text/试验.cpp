// 试验: assembles the word China from single characters and writes it,
// without a final line break.
#include <cstdio>

#include "platform/console.h"

int main() {
  platform::start_console();
  char word[6];
  word[0] = 'C';
  word[1] = 'h';
  word[2] = 'i';
  word[3] = 'n';
  word[4] = 'a';
  word[5] = '\0';
  std::printf("%s", word);
  return 0;
}
