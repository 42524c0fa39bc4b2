// The contact record and the contact list, a chain of records on the heap.
#pragma once

#include <cstddef>
#include <string_view>

// Room for 14 bytes of text and a terminating zero.
constexpr std::size_t kFieldSize = 15;

struct person {
  char name[kFieldSize];
  char phone[kFieldSize];
  char qq[kFieldSize];
  int familiar;  // 1 marks a frequent contact; any other integer is kept as typed
  person* next;
};

// A new record with empty fields and no successor; null when memory runs out.
person* new_person();

// Releases every record from `first` to the end of the list.
void release(person* first);

// Stores a token in a text field, cut to 14 bytes without splitting a character.
void set_field(char (&field)[kFieldSize], std::string_view text);

// The longest row that put_columns writes: a name of 14 bytes, phone and QQ
// number filled to 15, and the blanks between them.
constexpr std::size_t kColumnsSize = (kFieldSize - 1) + 1 + 15 + 1 + 15;

// Writes name, phone and QQ number as "%-10s %-15s %-15s" does, without a
// terminating zero, and returns the end of what it wrote. Rows of large
// books are formatted this way, which is much faster than printf.
char* put_columns(char* out, const person& record);

// Tells the user that there was no memory for one more contact.
void report_no_memory();
