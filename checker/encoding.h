// Text between the dialogues' UTF-8 and the programs' GBK, by the system's
// own tables (encoding_posix.cpp, encoding_windows.cpp).
#pragma once

#include <string>
#include <string_view>

namespace check {

// Appends the text converted (GBK to UTF-8, or UTF-8 to GBK) to `out`; false,
// with `out` as it was, when some byte is no character of the source or some
// character has no counterpart in the other encoding.
bool convert_text(bool to_utf8, std::string_view text, std::string& out);

}  // namespace check
