#include "bench/report.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace bench {
namespace {

const char* verdict_text(Verdict verdict) {
  switch (verdict) {
    case Verdict::met:
      return "ok";
    case Verdict::missed:
      return "MISSED";
    case Verdict::failed:
      return "FAILED";
    case Verdict::none:
      break;
  }
  return "-";
}

// The value after "key:" on the first line of the file that starts with key.
std::string field_of(const char* path, const std::string& key) {
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key, 0) != 0) continue;
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::size_t start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? "" : line.substr(start);
  }
  return "unknown";
}

// Widths count bytes: a GBK label takes two columns per character, as it
// takes two bytes.
constexpr int kLabelWidth = 34;
constexpr int kTargetWidth = 26;

void print_row(const std::string& label, const std::vector<std::string>& figures,
               const std::string& target, const char* verdict, const std::string& note) {
  std::printf("%-*s", kLabelWidth, label.c_str());
  for (const std::string& figure : figures)
    std::printf(" %11s", figure.c_str());
  std::printf("  %-*s  %s%s%s\n", kTargetWidth, target.c_str(), verdict, note.empty() ? "" : "  ",
              note.c_str());
}

}  // namespace

Row beside_row(const std::string& label, const Beside& measured, const std::string& target,
               Verdict verdict, const std::string& note) {
  if (!measured.ok()) {
    std::string problem = measured.program.ok() ? "yardstick: " + measured.yardstick.problem
                                                : measured.program.problem;
    return failed_row(label, problem);
  }
  return {label,
          {milliseconds(measured.program.median_ms), milliseconds(measured.yardstick.median_ms),
           times(measured.ratio), mebibytes(measured.program.peak_mib),
           mebibytes(measured.yardstick.peak_mib)},
          target,
          verdict,
          note};
}

Row derived_row(const std::string& label, const std::string& figure, const std::string& target,
                Verdict verdict) {
  return {label, {"", "", figure, "", ""}, target, verdict, ""};
}

Row failed_row(const std::string& label, const std::string& problem) {
  return {label, {"", "", "", "", ""}, "", Verdict::failed, problem};
}

const std::vector<std::string> kColumns = {"program", "yardstick", "ratio", "peak", "its peak"};

std::string margin_target() {
  char text[32];
  std::snprintf(text, sizeof text, "time <= +%.0f%%", kMargin * 100);
  return text;
}

Verdict at_yardstick(double ratio) {
  return at_most(ratio, 1 + kMargin);
}

Verdict both(Verdict a, Verdict b) {
  if (a == Verdict::failed || b == Verdict::failed) return Verdict::failed;
  return a == Verdict::met && b == Verdict::met ? Verdict::met : Verdict::missed;
}

void Table::section(const std::string& title) const {
  std::printf("\n%s\n", title.c_str());
  print_row("", kColumns, "target", "verdict", "");
  std::fflush(stdout);
}

void Table::add(Row row) {
  print_row(row.label, row.figures, row.target, verdict_text(row.verdict), row.note);
  std::fflush(stdout);
  rows_.push_back(std::move(row));
}

bool Table::all_met() const {
  return std::none_of(rows_.begin(), rows_.end(), [](const Row& row) {
    return row.verdict == Verdict::missed || row.verdict == Verdict::failed;
  });
}

std::string milliseconds(double ms) {
  char text[32];
  if (ms < 0.1) {
    std::snprintf(text, sizeof text, "%.1f us", ms * 1000);
  } else {
    std::snprintf(text, sizeof text, ms < 10 ? "%.2f ms" : "%.1f ms", ms);
  }
  return text;
}

std::string mebibytes(double mib) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", mib);
  return text;
}

std::string times(double factor) {
  char text[32];
  std::snprintf(text, sizeof text, "x%.2f", factor);
  return text;
}

Verdict at_most(double value, double limit) {
  return value <= limit ? Verdict::met : Verdict::missed;
}

double growth_per_item(double small_ms, double small_items, double large_ms, double large_items,
                       double fixed_ms) {
  double small_cost = std::max(small_ms - fixed_ms, 1e-3) / small_items;
  double large_cost = std::max(large_ms - fixed_ms, 1e-3) / large_items;
  return large_cost / small_cost;
}

double memory_per_input(double peak_mib, double start_mib, double input_mib) {
  return std::max(peak_mib - start_mib, 0.0) / input_mib;
}

std::string machine_description() {
  char text[512];
  std::string memory = field_of("/proc/meminfo", "MemTotal");
  long kib = std::atol(memory.c_str());
  std::snprintf(text, sizeof text, "%ld processors (%s), %.1f GiB of memory",
                ::sysconf(_SC_NPROCESSORS_ONLN), field_of("/proc/cpuinfo", "model name").c_str(),
                kib / 1048576.0);
  return text;
}

}  // namespace bench
