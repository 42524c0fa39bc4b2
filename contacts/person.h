// The contact record and the contact list, a chain of records on the heap.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

// Room for 14 bytes of text and a terminating zero.
constexpr std::size_t kFieldSize = 15;

// Each text field holds its text, then zero bytes to its end.
struct person {
  char name[kFieldSize];
  char phone[kFieldSize];
  char qq[kFieldSize];
  int familiar;  // 1 marks a frequent contact; any other integer is kept as typed
  person* next;
};

// A new record with empty fields and no successor; null when memory runs out.
person* new_person();

// Gives a record back, for a later new_person.
void release(person* record);

// Stores a token in a text field, cut to 14 bytes without splitting a character.
void set_field(char (&field)[kFieldSize], std::string_view text);

// The longest row that put_columns writes: a name of 14 bytes, phone and QQ
// number filled to 15, and the blanks between them.
constexpr std::size_t kColumnsSize = (kFieldSize - 1) + 1 + 15 + 1 + 15;

// Writes name, phone and QQ number as "%-10s %-15s %-15s" does, without a
// terminating zero, and returns the end of what it wrote. Rows of large
// books are formatted this way, which is much faster than printf.
char* put_columns(char* out, const person& record);

// Writes text as "%s" does, without a terminating zero, and returns its end.
char* put_text(char* out, const char* text);

// Writes text filled with blanks to `width` bytes, as "%-*s" does.
char* put_padded(char* out, const char* text, std::size_t width);

// Rows of a large book gathered in a block and written to a stream a block
// at a time, which is much faster than a write for each row.
class Rows {
 public:
  // The longest row a caller may write at once.
  static constexpr std::size_t kLongestRow = 128;

  explicit Rows(std::FILE* stream) : stream_(stream) {}
  Rows(const Rows&) = delete;
  Rows& operator=(const Rows&) = delete;

  // Where the next row goes: room for kLongestRow bytes.
  char* next() {
    if (sizeof block_ - used_ < kLongestRow) write_block();
    return block_ + used_;
  }
  // The row written at next() ends at `end`.
  void end_row(const char* end) { used_ = static_cast<std::size_t>(end - block_); }

  // Writes what is gathered; false if any write failed.
  bool finish() {
    write_block();
    return written_;
  }

 private:
  void write_block();

  std::FILE* stream_;
  std::size_t used_ = 0;
  bool written_ = true;
  char block_[1 << 16];
};

// Tells the user that there was no memory for one more contact.
void report_no_memory();
