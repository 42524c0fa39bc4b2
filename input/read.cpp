#include "input/read.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/gbk.h"

namespace input {
using platform::is_gbk_lead;
using platform::is_gbk_trail;

namespace {

// The first character after white space, taken from the input; EOF at its end.
int skip_space(std::FILE* in) {
  std::fscanf(in, " ");
  return std::getc(in);
}

// What is left of the token being read. It is held to its end, as a token
// of any length is read whole, so an endless one runs out of memory rather
// than being read for ever.
void consume_token(std::FILE* in) {
  std::string rest;
  char chunk[1 << 12];
  int n = 0;
  while (std::fscanf(in, "%4095[^ \t\n\v\f\r]%n", chunk, &n) == 1)
    rest.append(chunk, static_cast<std::size_t>(n));
}

// Appends a sign, then the digits that follow, to `text`; whether there were
// any digits.
bool take_digits(std::FILE* in, int& c, std::string& text, bool sign = false) {
  if (sign && (c == '+' || c == '-')) {
    text += static_cast<char>(c);
    c = std::getc(in);
  }
  bool any = false;
  for (; std::isdigit(c); c = std::getc(in), any = true)
    text += static_cast<char>(c);
  return any;
}

int scan_int(std::FILE* in, int& value, bool leave_non_number) {
  int c = skip_space(in);
  if (c == EOF) return EOF;
  std::string text;
  const bool number = take_digits(in, c, text, true);
  std::ungetc(c, in);
  value = 0;
  if (!number) {
    if (!leave_non_number) consume_token(in);
    // A sign goes back too, by seeking the file: stdio takes back only one
    // character for sure. The sign stood just before what was given back.
    if (leave_non_number && !text.empty()) {
      const long sign = std::ftell(in) - 1;
      if (sign < 0 || std::fseek(in, sign, SEEK_SET) != 0) std::ungetc(text[0], in);
    }
    return 0;
  }
  // A NUL byte ends the token, as it ends a text field: what follows it
  // begins no record.
  if (leave_non_number && c == '\0') consume_token(in);
  errno = 0;
  const long long read = std::strtoll(text.c_str(), nullptr, 10);
  if (errno != 0 || read < INT_MIN || read > INT_MAX) return 0;
  value = static_cast<int>(read);
  return 1;
}

template <typename T>
int scan_real(std::FILE* in, T& value, T (*convert)(const char*, char**)) {
  int c = skip_space(in);
  if (c == EOF) return EOF;
  std::string text;
  bool number = take_digits(in, c, text, true);
  if (c == '.') {
    text += '.';
    c = std::getc(in);
    number = take_digits(in, c, text) || number;
  }
  if (number && (c == 'e' || c == 'E')) {
    text += 'e';
    c = std::getc(in);
    take_digits(in, c, text, true);
  } else if (!number && text.find('.') == std::string::npos) {
    std::string word;
    for (; std::isalpha(c) && word.size() < 8; c = std::getc(in))
      word += static_cast<char>(std::tolower(c));
    number = word == "inf" || word == "infinity" || word == "nan";
    text += word;
  }
  std::ungetc(c, in);
  if (!number) consume_token(in);
  value = number ? convert(text.c_str(), nullptr) : 0;
  return number ? 1 : 0;
}

}  // namespace

bool end_field(std::FILE* in, char* field, std::size_t size) {
  std::size_t length = std::strlen(field);
  const int next = std::getc(in);
  std::ungetc(next, in);
  const bool more = next != EOF && !std::isspace(next);
  const bool cut = more && next != '\0' && length == size - 1;
  // A lead byte that the width parted from its trail byte goes too.
  for (std::size_t i = 0; cut && i < length; ++i) {
    if (!is_gbk_lead(static_cast<unsigned char>(field[i]))) continue;
    if (i + 1 == length && is_gbk_trail(static_cast<unsigned char>(next))) length = i;
    if (i + 1 < length && is_gbk_trail(static_cast<unsigned char>(field[i + 1]))) ++i;
  }
  std::memset(field + length, 0, size - length);
  if (more) consume_token(in);
  return !cut;
}

int scan_number(std::FILE* in, int& value) {
  return scan_int(in, value, false);
}

int scan_leading_number(std::FILE* in, int& value) {
  return scan_int(in, value, true);
}

int scan_number(std::FILE* in, float& value) {
  return scan_real<float>(in, value, std::strtof);
}

int scan_number(std::FILE* in, double& value) {
  return scan_real<double>(in, value, std::strtod);
}

}  // namespace input
