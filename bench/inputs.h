// The inputs of the benchmarks, made afresh on every run from a fixed seed,
// so every run and every machine measures the same bytes. Large inputs are
// streamed to files: the suite itself stays small, since a child's peak
// memory counts what its parent had resident when it was forked.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace bench {

// A small, fast generator whose sequence is fixed by its seed on every
// platform (unlike the library's distributions).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // A number from 0 to bound - 1.
  std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>(next() % bound); }

 private:
  std::uint64_t state_;
};

inline constexpr std::uint64_t kSeed = 20240607;

// Writes a contact file of `count` contacts, one line each in the layout the
// contact book saves, and beside it the frequent-contact file that a save of
// that book must write. Names are ASCII or Chinese, at most 10 bytes, so
// every line has the same 45 bytes. False when a file cannot be written.
bool write_contact_book(const std::filesystem::path& contacts,
                        const std::filesystem::path& frequent, long count, std::uint64_t seed);

// A name no contact of write_contact_book can have.
inline constexpr const char* kMissingName = "nobody_here";

// How many bytes of a line fall in each class: ASCII letters, blanks,
// ASCII digits and all others.
struct ByteClasses {
  long long letters = 0;
  long long blanks = 0;
  long long digits = 0;
  long long others = 0;
  bool operator==(const ByteClasses&) const = default;
};

// Appends `length` bytes of typed text (letters, digits, blanks, tabs,
// punctuation and Chinese characters, never a line break) to the file and
// tells their classes. False when a write fails.
bool write_text(std::FILE* file, long long length, Random& random, ByteClasses& classes);

// Writes a file of lines of the given lengths, each ending with a line
// break; gives the classes of the first line. False when it cannot be written.
bool write_lines(const std::filesystem::path& path, std::initializer_list<long long> lengths,
                 std::uint64_t seed, ByteClasses* first_line = nullptr);

// Whether two files hold the same bytes.
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace bench
