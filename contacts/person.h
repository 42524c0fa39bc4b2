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

// Tells the user that there was no memory for one more contact.
void report_no_memory();
