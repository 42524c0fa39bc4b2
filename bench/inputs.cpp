#include "bench/inputs.h"

#include <cstring>
#include <memory>
#include <vector>

#include "tests/support/contact_book.h"

namespace bench {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File open(const std::filesystem::path& path, const char* mode) {
  return File(std::fopen(path.c_str(), mode), std::fclose);
}

// Closes the file and reports whether everything written reached it.
bool close_checked(File& file) {
  bool good = std::fflush(file.get()) == 0 && !std::ferror(file.get());
  return std::fclose(file.release()) == 0 && good;
}

// GBK characters: a lead byte from 0xB0 to 0xD6 and a trail byte from 0xA1
// to 0xFE are all assigned.
void put_chinese(std::string& out, Random& random) {
  out += static_cast<char>(0xB0 + random.below(0x27));
  out += static_cast<char>(0xA1 + random.below(0x5E));
}

std::string digits(Random& random, int count, char first) {
  std::string text(1, first);
  for (int i = 1; i < count; ++i)
    text += static_cast<char>('0' + random.below(10));
  return text;
}

// A name of at most 10 bytes: lower-case letters, or two to four Chinese
// characters.
std::string contact_name(Random& random) {
  std::string name;
  if (random.below(2) == 0) {
    for (int n = 3 + static_cast<int>(random.below(8)); n > 0; --n)
      name += static_cast<char>('a' + random.below(26));
  } else {
    for (int n = 2 + static_cast<int>(random.below(3)); n > 0; --n)
      put_chinese(name, random);
  }
  return name;
}

}  // namespace

std::uint64_t Random::next() {
  // splitmix64
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

bool write_contact_book(const std::filesystem::path& contacts,
                        const std::filesystem::path& frequent, long count, std::uint64_t seed) {
  File book = open(contacts, "w");
  File often = open(frequent, "w");
  if (!book || !often) return false;
  Random random(seed);
  bool written = true;
  for (long i = 0; i < count && written; ++i) {
    std::string name = contact_name(random);
    std::string phone = digits(random, 11, '1');
    std::string qq = digits(random, 5 + static_cast<int>(random.below(6)),
                            static_cast<char>('1' + random.below(9)));
    int familiar = random.below(3) == 0 ? 1 : 0;
    written =
        std::fputs(contact_book::book_row(name, phone, qq, familiar).c_str(), book.get()) >= 0;
    if (familiar != 0 && written) {
      written = std::fputs(contact_book::frequent_row(name, phone, qq).c_str(), often.get()) >= 0;
    }
  }
  return close_checked(book) && close_checked(often) && written;
}

bool write_text(std::FILE* file, long long length, Random& random, ByteClasses& classes) {
  static const char kPunctuation[] = "\t_?!.,;:-+*/()[]{}<>=@#$%^&~'\"\\|`";
  std::string chunk;
  chunk.reserve(1 << 16);
  while (length > 0) {
    chunk.clear();
    while (chunk.size() < (1 << 16) - 2 && static_cast<long long>(chunk.size()) < length) {
      std::uint32_t pick = random.below(20);
      if (pick < 8) {
        chunk += static_cast<char>((pick < 4 ? 'a' : 'A') + random.below(26));
        ++classes.letters;
      } else if (pick < 11) {
        chunk += ' ';
        ++classes.blanks;
      } else if (pick < 14) {
        chunk += static_cast<char>('0' + random.below(10));
        ++classes.digits;
      } else if (pick < 16 || static_cast<long long>(chunk.size()) + 2 > length) {
        chunk += kPunctuation[random.below(sizeof kPunctuation - 1)];
        ++classes.others;
      } else {
        put_chinese(chunk, random);
        classes.others += 2;
      }
    }
    if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size()) return false;
    length -= static_cast<long long>(chunk.size());
  }
  return true;
}

bool write_lines(const std::filesystem::path& path, std::initializer_list<long long> lengths,
                 std::uint64_t seed, ByteClasses* first_line) {
  File file = open(path, "w");
  if (!file) return false;
  Random random(seed);
  bool written = true;
  bool first = true;
  for (long long length : lengths) {
    ByteClasses classes;
    written = written && write_text(file.get(), length, random, classes) &&
              std::fputc('\n', file.get()) != EOF;
    if (first && first_line != nullptr) *first_line = classes;
    first = false;
  }
  return close_checked(file) && written;
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  File left = open(a, "rb");
  File right = open(b, "rb");
  if (!left || !right) return false;
  // Small enough to come from the heap and go back to it: the suite's own
  // resident memory is part of every child's peak.
  std::vector<char> x(1 << 16), y(1 << 16);
  for (;;) {
    std::size_t n = std::fread(x.data(), 1, x.size(), left.get());
    std::size_t m = std::fread(y.data(), 1, y.size(), right.get());
    if (n != m || std::memcmp(x.data(), y.data(), n) != 0) return false;
    if (n < x.size()) return !std::ferror(left.get()) && !std::ferror(right.get());
  }
}

}  // namespace bench
