// The character conversions of the system, for the Transcoder: the system's
// own tables decide which GBK character is which Unicode character.
#pragma once

#include <string>
#include <string_view>

#include "platform/transcoder.h"

namespace platform::codec {

// Whether the system can convert in this direction at all.
bool available(Direction direction);

// Converts text made only of whole, well-formed characters of the source
// encoding and appends the result to `out`. False, with `out` as it was,
// when some character has no counterpart in the other encoding.
bool convert(Direction direction, std::string_view characters, std::string& out);

}  // namespace platform::codec
