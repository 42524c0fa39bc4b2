// The matrix exercise draws its numbers from the clock: its second matrix
// is checked against the rearrangement of the first one it printed.
#pragma once

#include <optional>
#include <string>

namespace check {

// The whole screen that a right program shows after printing `screen`'s
// first matrix, or nothing when no matrix of five rows of five numbers
// leads the screen.
std::optional<std::string> expected_matrix_screen(const std::string& screen);

}  // namespace check
