// 读写: reads five (name, integer) pairs, writes them as lines over the start
// of the existing test.txt, reads five pairs back from the file and prints them.
#include <cstdio>

#include "input/read.h"
#include "platform/console.h"
#include "platform/file.h"

namespace {

constexpr int kPairs = 5;
constexpr int kNameSize = 15;

struct Pairs {
  char names[kPairs][kNameSize] = {};
  int values[kPairs] = {};
};

// Reads "name integer" pairs ("%s %d"). A name is cut at a character
// boundary to fit its field; an integer that is not a number, or was never
// there, counts as 0.
void read_pairs(std::FILE* in, Pairs& pairs) {
  for (int k = 0; k < kPairs; ++k) {
    if (std::fscanf(in, "%14s", pairs.names[k]) == 1)
      input::end_field(in, pairs.names[k], kNameSize);
    input::scan_number(in, pairs.values[k]);
  }
}

bool write_pairs(std::FILE* file, const Pairs& pairs) {
  for (int k = 0; k < kPairs; ++k) {
    if (std::fprintf(file, "%s %d\n", pairs.names[k], pairs.values[k]) < 0) return false;
  }
  return std::fflush(file) == 0 && !std::ferror(file);
}

}  // namespace

int main() {
  platform::start_console();
  Pairs typed;
  read_pairs(stdin, typed);

  std::FILE* file = platform::open_file("test.txt", "r+b");
  if (file == nullptr) {
    std::printf("打不开！\n");
    return 0;
  }
  if (!write_pairs(file, typed)) {
    std::fclose(file);
    std::printf("写不进！\n");
    return 0;
  }
  // Back to the beginning of the same open file, and read what it now holds.
  Pairs read_back;
  bool read = std::fseek(file, 0, SEEK_SET) == 0;
  if (read) read_pairs(file, read_back);
  read = read && !std::ferror(file);
  std::fclose(file);
  if (!read) {
    std::printf("打不开！\n");
    return 0;
  }

  for (int k = 0; k < kPairs; ++k) {
    std::printf("%s %d\n", read_back.names[k], read_back.values[k]);
  }
  return 0;
}
