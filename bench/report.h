// The table the suite prints: one row per case with its figures, target and
// verdict, and the machine the figures came from.
#pragma once

#include <string>
#include <vector>

#include "bench/measure.h"

namespace bench {

enum class Verdict { none, met, missed, failed };

struct Row {
  std::string label;
  std::vector<std::string> figures;  // under the column titles, kColumns
  std::string target;
  Verdict verdict = Verdict::none;
  std::string note;  // after the verdict: a ratio, or what went wrong
};

// A program beside its yardstick: both medians, their ratio and both
// peaks; failed, with the problem as its note, when a run did not end
// cleanly.
Row beside_row(const std::string& label, const Beside& measured, const std::string& target,
               Verdict verdict, const std::string& note = "");

// A row of a figure derived from others, such as a growth factor.
Row derived_row(const std::string& label, const std::string& figure, const std::string& target,
                Verdict verdict);

// A case that could not be measured.
Row failed_row(const std::string& label, const std::string& problem);

// The columns of the rows.
extern const std::vector<std::string> kColumns;

// How far above its yardstick a program may measure and still be at it:
// the noise of runs side by side on a busy machine.
inline constexpr double kMargin = 0.03;

// The target of a time judged with the margin: "time <= +3%".
std::string margin_target();

// Met when the ratio to the yardstick is within the margin.
Verdict at_yardstick(double ratio);

// Met when both are.
Verdict both(Verdict a, Verdict b);

// Rows are printed as they are added, so a long run shows its progress.
class Table {
 public:
  // Starts a section: its title, then the titles of the columns.
  void section(const std::string& title) const;
  void add(Row row);
  // True when no target was missed and every program ended cleanly.
  bool all_met() const;

 private:
  std::vector<Row> rows_;
};

// "12.3 ms", "45.6 MiB", "x1.05" and the like.
std::string milliseconds(double ms);
std::string mebibytes(double mib);
std::string times(double factor);

// Met when `value` is at most `limit`.
Verdict at_most(double value, double limit);

// How much more each item costs in the large case than in the small one,
// once the fixed cost of starting the program is taken off both: about 1
// for linear work, about large_items / small_items for quadratic work.
double growth_per_item(double small_ms, double small_items, double large_ms, double large_items,
                       double fixed_ms);

// The memory a case needs beyond the program's own start-up, in units of
// its input size.
double memory_per_input(double peak_mib, double start_mib, double input_mib);

// Processors, processor model and memory of this machine, one line.
std::string machine_description();

}  // namespace bench
