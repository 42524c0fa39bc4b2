// Reading numbers for the numeric programs. A token that holds no number is
// consumed and counts as 0, so a program always goes on with a defined value;
// only the end of input stops it.
#pragma once

#include "platform/input.h"

namespace numeric {

// Each reads the next number into value (0 when the token is unreadable) and
// returns false at the end of input, leaving value untouched.
template <typename T, typename Read>
bool read_or_zero(T& value, Read read) {
  T got_value{};
  platform::Got got = (platform::stdin_reader().*read)(got_value);
  if (got == platform::Got::end) return false;
  value = got == platform::Got::value ? got_value : T{};
  return true;
}

inline bool read_number(int& value) {
  return read_or_zero(value, &platform::Reader::read_int);
}
inline bool read_number(float& value) {
  return read_or_zero(value, &platform::Reader::read_float);
}
inline bool read_number(double& value) {
  return read_or_zero(value, &platform::Reader::read_double);
}

}  // namespace numeric
