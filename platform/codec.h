// The system's conversions beneath the Transcoder: the system's own tables
// decide which GBK character is which Unicode character, and which bytes are
// no character at all.
#pragma once

#include <string>
#include <string_view>

#include "platform/transcoder.h"

namespace platform::codec {

// Whether the system can convert in this direction at all.
bool available(Direction direction);

// Where a conversion stopped: at the end of the text, at a character cut off
// by that end, or at bytes that are no character of the source encoding or
// a character the other encoding lacks.
enum class Stop { end, cut, unconvertible };

struct Converted {
  std::size_t length;  // of the text converted
  Stop stop;
};

// Converts the longest start of `text` that converts, appending the result
// to `out`.
Converted convert(Direction direction, std::string_view text, std::string& out);

}  // namespace platform::codec
