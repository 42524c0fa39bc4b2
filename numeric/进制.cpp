// 进制: writes a decimal number in every base from 2 to 36 except 10, one line
// per base. Bases 2 to 9 come out as a number whose decimal digits spell the
// base digits; bases 11 to 36 as a string of digits and capital letters.
//
// Beyond the ranges the two conversions are made for, a line shows the true
// digits of the value in its base all the same (at the end of this file).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "input/read.h"
#include "platform/console.h"
#include "platform/strrev.h"

namespace {

// Multiplies the fraction by the base and takes the whole part off as the
// next digit, cut, never rounded.
int next_fraction_digit(double& fraction, int base) {
  fraction = fraction * base;
  int digit = static_cast<int>(fraction);
  fraction = fraction - digit;
  return digit;
}

}  // namespace

// The value in base 2 to 9 as a number whose decimal digits are the base
// digits: the integer part's digits before the point, the first nine
// fractional digits after it. Only for integer parts within kTrans1Largest.
double trans1(double x, int base) {
  int n = static_cast<int>(x);
  double fraction = x - n;

  int digits = 0;
  long long place = 1;  // grows past the int range after a ten-digit reading
  while (n != 0) {
    int digit = n % base;
    n = n / base;
    digits = digits + static_cast<int>(place * digit);
    place = place * 10;
  }

  double fraction_digits = 0.0;
  double weight = 0.1;
  for (int i = 0; i < 9; ++i) {
    int digit = next_fraction_digit(fraction, base);
    fraction_digits = fraction_digits + digit * weight;
    weight = weight * 0.1;
  }
  return static_cast<double>(digits) + fraction_digits;
}

// Writes the value in base 11 to 36 into buffer: an optional '-', the integer
// digits (none for 0), '.', ten fractional digits. Only for values whose
// integer part fits an int; the buffer holds 22 characters at least.
void trans2(double x, char* buffer, int base) {
  bool negative = false;
  if (x < 0) {
    negative = true;
    x = -x;
  }
  int n = static_cast<int>(x);
  double fraction = x - n;

  int position = 0;
  while (n != 0) {
    buffer[position++] = static_cast<char>('0' + n % base);
    n = n / base;
  }
  buffer[position] = '\0';
  platform::_strrev(buffer);

  buffer[position++] = '.';
  for (int i = 0; i < 10; ++i) {
    buffer[position++] = static_cast<char>('0' + next_fraction_digit(fraction, base));
  }
  for (int i = 0; i < position; ++i) {
    if (buffer[i] > '9') buffer[i] = static_cast<char>(buffer[i] + 7);
  }
  if (negative) {
    for (int i = position; i > 0; --i)
      buffer[i] = buffer[i - 1];
    buffer[0] = '-';
    ++position;
  }
  buffer[position] = '\0';
}

namespace {

// Beyond the ranges of the two conversions (at the end of this file).
bool fits_trans1(double x, int base);
bool fits_trans2(double x);
std::string trans1_text_beyond(double x, int base);
std::string trans2_text_beyond(double x, int base);

void write_small_base(double x, int base) {
  if (fits_trans1(x, base)) {
    std::printf(" %d进制：%lf\n", base, trans1(x, base));
  } else {
    std::printf(" %d进制：%s\n", base, trans1_text_beyond(x, base).c_str());
  }
}

void write_large_base(double x, char* buffer, int base) {
  std::printf("%d进制：", base);
  if (fits_trans2(x)) {
    trans2(x, buffer, base);
    std::puts(buffer);
  } else {
    std::puts(trans2_text_beyond(x, base).c_str());
  }
}

}  // namespace

int main() {
  platform::start_console();
  std::printf("请输入一个十进制数：");
  double x = 0.0;
  if (input::scan_number(stdin, x) == EOF) return 0;

  char buffer[50] = {};
  for (int base = 2; base <= 9; ++base)
    write_small_base(x, base);
  for (int base = 11; base <= 36; ++base)
    write_large_base(x, buffer, base);
  return 0;
}

namespace {

// Beyond the ranges of trans1 and trans2 (integer parts from 2^31 on, or
// base digits that read as a decimal number above 2^31 - 1), a line shows
// the true digits of the value in its base all the same: the integer digits
// in full, then the fractional digits as within range (six rounded for bases
// 2 to 9, ten cut for the others). Infinities and NaN have no digits and are
// written as the "%lf" format writes them.

// The largest integer part, by base, whose base digits read as a decimal
// number still fit a 32-bit int.
constexpr int kTrans1Largest[10] = {0,       0,        1023,     52487,     655359,
                                    4687499, 23234687, 90589729, 295600127, 841031062};

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The base digits of a whole number held in a double, most significant first;
// exact for every finite double, however many digits it takes.
std::string whole_digits(double whole, int base) {
  if (whole < 1.0) return "";
  // whole = bits * 2^shift, read off its binary form: a number from 1 up is
  // normal, so its 52 stored bits follow an implicit leading 1.
  std::uint64_t raw;
  std::memcpy(&raw, &whole, sizeof raw);
  std::uint64_t bits = (raw & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  int shift = static_cast<int>((raw >> 52) & 0x7FF) - 1075;
  if (shift < 0) {
    bits >>= -shift;  // whole numbers below 2^53 lose only zero bits
    shift = 0;
  }

  // The number as 32-bit limbs, least significant first.
  std::vector<std::uint32_t> limbs(static_cast<std::size_t>(shift / 32), 0);
  int bit_shift = shift % 32;
  std::uint64_t low = bits << bit_shift;
  std::uint64_t high = bit_shift == 0 ? 0 : bits >> (64 - bit_shift);
  limbs.push_back(static_cast<std::uint32_t>(low));
  limbs.push_back(static_cast<std::uint32_t>(low >> 32));
  limbs.push_back(static_cast<std::uint32_t>(high));
  while (limbs.back() == 0)
    limbs.pop_back();

  std::string digits;
  while (!limbs.empty()) {
    std::uint64_t remainder = 0;
    for (auto limb = limbs.rbegin(); limb != limbs.rend(); ++limb) {
      std::uint64_t current = (remainder << 32) | *limb;
      *limb = static_cast<std::uint32_t>(current / base);
      remainder = current % base;
    }
    digits.push_back(kDigits[remainder]);
    while (!limbs.empty() && limbs.back() == 0)
      limbs.pop_back();
  }
  return {digits.rbegin(), digits.rend()};
}

bool fits_trans1(double x, int base) {
  return std::isfinite(x) && std::fabs(std::trunc(x)) <= kTrans1Largest[base];
}

bool fits_trans2(double x) {
  return std::isfinite(x) && std::fabs(std::trunc(x)) < 2147483648.0;
}

std::string as_lf(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%lf", x);
  return text;
}

// The start of a line beyond the range of the fixed-width conversions: the
// sign and every digit of the whole part. `fraction` receives what is left.
std::string sign_and_whole_digits(double x, int base, double& fraction) {
  double magnitude = std::fabs(x);
  double whole = std::trunc(magnitude);
  fraction = magnitude - whole;
  std::string text = x < 0 ? "-" : "";
  text += whole_digits(whole, base);
  return text;
}

// The line's value for bases 2 to 9 beyond kTrans1Largest.
std::string trans1_text_beyond(double x, int base) {
  if (!std::isfinite(x)) return as_lf(x);
  double fraction = 0.0;
  std::string text = sign_and_whole_digits(x, base, fraction);
  double fraction_digits = 0.0;
  double weight = 0.1;
  for (int i = 0; i < 9; ++i) {
    fraction_digits = fraction_digits + next_fraction_digit(fraction, base) * weight;
    weight = weight * 0.1;
  }
  // At most 0.888888888, so the rounding never carries into the whole digits.
  std::string rounded = as_lf(fraction_digits);
  text += rounded.substr(rounded.find('.'));
  return text;
}

// The line's value for bases 11 to 36 beyond the int range.
std::string trans2_text_beyond(double x, int base) {
  if (!std::isfinite(x)) return as_lf(x);
  double fraction = 0.0;
  std::string text = sign_and_whole_digits(x, base, fraction);
  text += '.';
  for (int i = 0; i < 10; ++i)
    text.push_back(kDigits[next_fraction_digit(fraction, base)]);
  return text;
}

}  // namespace
