// Whether a run of a program held to its dialogue, and, where it did not,
// a report that points at the first difference.
#pragma once

#include <map>
#include <string>

#include "checker/dialogue.h"

namespace check {

// What one run of a program gave.
struct Run {
  std::string not_started;  // why it could not be started, if it was not
  std::string out;          // everything it wrote on standard output
  bool timed_out = false;   // still running at the time limit
  bool waited = false;      // ended only when its input was closed after the dialogue
  std::string crash;        // how it crashed, if it did
  int status = 0;           // its exit status
  std::map<std::string, std::string> files;  // by GBK name, as it left them
};

struct Verdict {
  bool passed = false;
  std::string reason;  // one line, UTF-8
  std::string report;  // the details, UTF-8, lines indented by two blanks
};

// `text_mode`: a Windows program, whose line ends CR LF count as LF.
Verdict judge(const Dialogue& dialogue, Run run, bool text_mode);

// The dialogue's notation of text: ␣ for a blank that ends a line, ⇥ for a
// tab, ␍ for a carriage return, ∎ where the text stops without a line end.
std::string notation(const std::string& gbk);

}  // namespace check
