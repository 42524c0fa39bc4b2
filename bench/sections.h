// The sections of the suite. Each measures its cases and adds their rows.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "bench/measure.h"
#include "bench/report.h"

namespace bench {

struct Context {
  std::filesystem::path folder;  // scratch space for inputs and working folders
  Table table;
  // Each program on its smallest input, by deliverable name; the fixed cost
  // that the scale cases are measured against.
  std::map<std::u8string, Figures> start;

  const Figures& start_of(const char8_t* program) const;
  // A fresh, empty working folder with the given name.
  std::filesystem::path working_folder(const std::string& name) const;
};

void start_up_cases(Context& context);
void contact_cases(Context& context);
void goldbach_cases(Context& context);
void line_cases(Context& context);

}  // namespace bench
