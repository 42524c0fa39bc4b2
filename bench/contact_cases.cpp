// The contact book at scale beside c_contacts, the same work done the plain
// C way: the start-up load, a browse of the whole book, a search that walks
// it all without a match, and a durable save, alone and all together, for
// books of ten thousand to a million contacts.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/inputs.h"
#include "bench/sections.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 11;
constexpr long kSmallest = 10000;
constexpr long kLargest = 1000000;
constexpr long kCounts[] = {kSmallest, 100000, kLargest};
constexpr double kGrowthLimit = 2;  // per-contact cost of a book a hundred times larger

struct Phase {
  const char* label;
  std::string input;
  bool saves;
};

std::vector<Phase> phases() {
  const std::string miss = std::string("3\n1\n") + kMissingName + "\n";
  return {
      {"load", "0\n1\n", false},
      {"load + browse", "2\n0\n1\n", false},
      {"load + search miss", miss + "0\n1\n", false},
      {"load + save", "6\n0\n1\n", true},
      {"all four", "2\n" + miss + "6\n0\n1\n", true},
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

Row phase_row(const std::string& label, const Beside& measured) {
  char note[64];
  std::snprintf(note, sizeof note, "peak x%.2f",
                measured.program.peak_mib / measured.yardstick.peak_mib);
  Verdict verdict = both(at_yardstick(measured.ratio),
                         at_most(measured.program.peak_mib, measured.yardstick.peak_mib));
  return beside_row(label, measured, margin_target() + ", peak <= its", verdict, note);
}

// Measures every phase on a book of `count` contacts; gives the program's
// figures of all four phases together.
Figures measure_book(Context& context, long count) {
  fs::path folder = context.working_folder("contacts");
  if (!write_contact_book(folder / "book.txt", folder / "frequent.txt", count, kSeed)) {
    context.table.add(failed_row(book_label(count), "cannot write the contact file"));
    return Figures{0, 0, "no book"};
  }
  fs::copy_file(folder / "book.txt", folder / "联系人.txt");
  Figures all;
  for (const Phase& phase : phases()) {
    testing_support::Session session;
    session.input = phase.input;
    Beside measured = measure_beside(folder, u8"联系人", u8"c_contacts", session, kRuns);
    if (measured.ok() && phase.saves && !saved_unchanged(folder)) {
      measured.program.problem = "the save changed the book";
    }
    all = measured.program;  // the last phase is all four
    context.table.add(phase_row(book_label(count) + ": " + phase.label, measured));
  }
  fs::remove_all(folder);
  return all;
}

}  // namespace

void contact_cases(Context& context) {
  context.table.section("联系人 beside c_contacts: books of 10^4, 10^5 and 10^6 contacts, " +
                        std::to_string(kRuns) + " pairs of runs");
  std::vector<Figures> all;
  for (long count : kCounts)
    all.push_back(measure_book(context, count));

  const Figures& start = context.start_of(u8"联系人");
  const std::string label =
      "联系人 all four, " + power_of_ten(kSmallest) + " -> " + power_of_ten(kLargest);
  const std::string target = "per contact < x2 (linear)";
  if (!all.front().ok() || !all.back().ok() || !start.ok()) {
    context.table.add(failed_row(label, "not measured"));
    return;
  }
  double growth = growth_per_item(all.front().median_ms, kSmallest, all.back().median_ms, kLargest,
                                  start.median_ms);
  context.table.add(derived_row(label, times(growth), target, at_most(growth, kGrowthLimit)));
}

}  // namespace bench
