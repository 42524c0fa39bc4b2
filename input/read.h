// What the course's formatted input leaves to each program, done once: a
// token cut to a text field at a character boundary, and numbers read the
// same way by every C library.
#pragma once

#include <cstddef>
#include <cstdio>

namespace input {

// To be called right after "%<size - 1>s" has read a token into `field`:
// the text ends at a NUL byte the token may hold, a two-byte character that
// the width split is dropped, the rest of the field is zero-filled and the
// rest of the token consumed. True when the field holds the token's text
// whole (up to a NUL byte), false when it had to be cut.
bool end_field(std::FILE* in, char* field, std::size_t size);

// The next number, as "%d", "%f" and "%lf" read it, the rest of the token
// left for the next read; but alike on every C library: an exponent mark is
// taken even when no digit follows it, "inf", "infinity" and "nan" (any
// case, signed) are the values they name, and an integer beyond int's range
// is no number. Like scanf: 1 for a number; 0 for none, `value` then 0 and a
// token that holds no number consumed whole; EOF at the end of input.
int scan_number(std::FILE* in, int& value);
int scan_number(std::FILE* in, float& value);
int scan_number(std::FILE* in, double& value);

// The number a token begins with, as scan_number, but a token that begins
// with none is left unread (a lone sign included, which only a file that
// can seek is sure to give back), and a NUL byte after the number ends the
// token.
int scan_leading_number(std::FILE* in, int& value);

}  // namespace input
