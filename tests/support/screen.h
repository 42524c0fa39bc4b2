// What a terminal shows of the bytes a console writes to it. A console draws
// its screen rather than passing text on: it hides and shows the cursor, ends
// lines with "\r\n", redraws a line from its start and erases the rest of a
// line, so the same text arrives as different bytes from run to run.
#pragma once

#include <string>
#include <string_view>

namespace testing_support {

// The lines of UTF-8 text the bytes leave on the screen, each ending in
// "\n" but the last. A character takes one cell, as in the console's own
// screen. Lines are never wrapped; control sequences other than carriage
// return, line feed, erasing to the end of the line and moving the cursor
// forward change nothing.
std::string shown_text(std::string_view bytes);

}  // namespace testing_support
