// The contact book at scale: the start-up load, a browse of the whole book,
// a search that walks it all without a match, and a save, alone and all
// together, for books of ten thousand to a million contacts.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/inputs.h"
#include "bench/sections.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 5;
constexpr long kCounts[] = {10000, 100000, 1000000};
constexpr long kLargest = 1000000;
constexpr double kAllLimitMs = 300;        // all four phases on the largest book
constexpr double kBytesPerContact = 83.5;  // what a plain chain of malloc'd records took
constexpr double kGrowthLimit = 2;         // per-contact cost of a book ten times larger

struct Phase {
  const char* label;
  std::string input;
  bool saves;
  bool everything;  // all four phases in one run
};

std::vector<Phase> phases() {
  const std::string miss = std::string("3\n1\n") + kMissingName + "\n";
  return {
      {"load", "0\n1\n", false, false},
      {"load + browse", "2\n0\n1\n", false, false},
      {"load + search miss", miss + "0\n1\n", false, false},
      {"load + save", "6\n0\n1\n", true, false},
      {"all four", "2\n" + miss + "6\n0\n1\n", true, true},
  };
}

// "10^4" for 10000.
std::string power_of_ten(long count) {
  int power = 0;
  for (long n = count; n >= 10; n /= 10)
    ++power;
  return "10^" + std::to_string(power);
}

std::string book_label(long count) {
  return "联系人 " + power_of_ten(count);
}

// A save of an unchanged book must give back the very files it came from.
bool saved_unchanged(const fs::path& folder) {
  return same_file(folder / "联系人.txt", folder / "book.txt") &&
         same_file(folder / "常用联系人.txt", folder / "frequent.txt");
}

Row target_row(const std::string& label, const Figures& figures, long count) {
  double bytes_per_contact = figures.peak_mib * 1048576 / count;
  char note[64];
  std::snprintf(note, sizeof note, "%.1f B/contact", bytes_per_contact);
  bool met = figures.fastest_ms <= kAllLimitMs && bytes_per_contact <= kBytesPerContact;
  return measured_row(label, figures, "<= 300 ms, <= 83.5 B/contact",
                      met ? Verdict::met : Verdict::missed, note);
}

// What the durable save costs: the same load and save in a folder in memory
// (tmpfs), where a sync has nothing to wait for, beside the one on the disk.
void measure_sync_cost(Context& context, const fs::path& on_disk, long count) {
  const fs::path in_memory =
      fs::path("/dev/shm") / ("coursework-bench-" + std::to_string(::getpid()));
  std::error_code failed;
  fs::create_directories(in_memory, failed);
  if (failed) return;  // no tmpfs here: nothing to compare with
  fs::copy_file(on_disk / "book.txt", in_memory / "联系人.txt", failed);
  const Phase save = phases()[3];
  Figures disk = measure(on_disk, u8"联系人", save.input, kRuns);
  Figures memory = failed ? Figures{} : measure(in_memory, u8"联系人", save.input, kRuns);
  fs::remove_all(in_memory, failed);
  const std::string label = book_label(count) + ": load + save";
  context.table.add(measured_row(label + " on the disk", disk));
  context.table.add(measured_row(label + " in memory (tmpfs)", memory));
  char cost[32];
  std::snprintf(cost, sizeof cost, "%.1f ms", disk.fastest_ms - memory.fastest_ms);
  context.table.add(derived_row(book_label(count) + ": the durable save's syncs and writes", cost,
                                "", Verdict::none));
}

// Measures every phase on a book of `count` contacts; gives the figures of
// all four phases together.
Figures measure_book(Context& context, long count) {
  fs::path folder = context.working_folder("contacts");
  Figures all;
  if (!write_contact_book(folder / "book.txt", folder / "frequent.txt", count, kSeed)) {
    all.problem = "cannot write the contact file";
    context.table.add(measured_row(book_label(count), all));
    return all;
  }
  fs::copy_file(folder / "book.txt", folder / "联系人.txt");
  for (const Phase& phase : phases()) {
    std::string label = book_label(count) + ": " + phase.label;
    Figures figures = measure(folder, u8"联系人", phase.input, kRuns);
    if (figures.ok() && phase.saves && !saved_unchanged(folder)) {
      figures.problem = "the save changed the book";
    }
    if (phase.everything) all = figures;
    bool judged = phase.everything && count == kLargest && figures.ok();
    context.table.add(judged ? target_row(label, figures, count) : measured_row(label, figures));
  }
  if (count == kLargest) measure_sync_cost(context, folder, count);
  fs::remove_all(folder);
  return all;
}

}  // namespace

void contact_cases(Context& context) {
  context.table.section("联系人: books of 10^4, 10^5 and 10^6 contacts, 45 bytes a line, 5 runs",
                        kTimeColumns);
  std::vector<Figures> all;
  for (long count : kCounts)
    all.push_back(measure_book(context, count));

  const Figures& start = context.start_of(u8"联系人");
  const std::string target = "per contact < x2 (linear)";
  for (std::size_t i = 1; i < all.size(); ++i) {
    std::string label =
        "联系人 all four, " + power_of_ten(kCounts[i - 1]) + " -> " + power_of_ten(kCounts[i]);
    if (!all[i - 1].ok() || !all[i].ok() || !start.ok()) {
      context.table.add(derived_row(label, "", target, Verdict::failed));
      continue;
    }
    double growth = growth_per_item(all[i - 1].fastest_ms, kCounts[i - 1], all[i].fastest_ms,
                                    kCounts[i], start.fastest_ms);
    context.table.add(derived_row(label, times(growth), target, below(growth, kGrowthLimit)));
  }
}

}  // namespace bench
