// Runs a built program on a pseudo-terminal, as a user at a terminal does,
// in a chosen locale: what it prints and what is typed pass through a
// terminal instead of pipes.
#pragma once

#include <map>
#include <string>

#include "tests/support/program_runner.h"

namespace testing_support {

// How a Windows program comes to its console.
enum class Started {
  from_a_shell,     // it shares the console with the process that started it, as with cmd
  from_explorer,    // it is alone on its console, as on the one Windows makes for a
                    // program opened from Explorer
  by_the_launcher,  // the launcher starts it, as from a Unix shell; what is typed is echoed
};

struct TerminalSession {
  std::string typed;                         // bytes typed, all at once
  std::map<std::string, std::string> files;  // file name -> content, created first
  // The locale variables of the program: LC_ALL, LC_CTYPE and LANG are unset
  // unless given here (an empty value is set as empty).
  std::map<std::string, std::string> environment;
  bool input_on_terminal = true;            // otherwise `typed` arrives through a pipe
  bool output_on_terminal = true;           // otherwise standard output is a pipe
  bool end_input = true;                    // end of input after `typed` (Ctrl-D on a terminal)
  int time_limit_ms = 20000;                // the program is killed after it
  Started started = Started::from_a_shell;  // Windows programs only
};

// Runs the program in a new temporary folder, removed afterwards. The
// terminal neither echoes what is typed nor changes line breaks on output, so
// `out` holds exactly the bytes the program wrote. Standard error is a pipe.
//
// Windows programs (see programs.h) run on a console of their own that the
// launcher puts on the terminal, in the code page the launcher's locale
// gives, whatever `environment` says. What is typed is keys: "\n" becomes
// Enter and the end of input is Ctrl-Z, Enter. Nothing typed is echoed. The
// console draws its screen on the terminal in its own way, so `out` holds
// the text the terminal shows, its lines ending in "\n".
Outcome run_on_terminal(const char8_t* deliverable, const TerminalSession& session);

// UTF-8 text, from a u8"..." literal, as plain bytes.
std::string utf8(std::u8string_view text);

}  // namespace testing_support
