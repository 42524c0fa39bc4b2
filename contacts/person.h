// The contact record and the contact list: a chain of records, each
// allocated on the heap on its own, that lives until the program ends.
#pragma once

#include <cstddef>
#include <cstdio>

// Room for 14 bytes of text and a terminating zero.
constexpr std::size_t kFieldSize = 15;

struct person {
  char name[kFieldSize];
  char phone[kFieldSize];
  char qq[kFieldSize];
  int familiar;  // 1 marks a frequent contact; any other integer is kept as typed
  person* next;
};

// A text field from the next token ("%s"), cut to fit at a character
// boundary. A field is never empty, so that every field of a saved line
// reads back as one token: a token that starts with a NUL byte is kept as
// "-". False at the end of input.
bool read_text(char (&field)[kFieldSize], std::FILE* in);

// Tells the user that there was no memory for one more contact.
void report_no_memory();
