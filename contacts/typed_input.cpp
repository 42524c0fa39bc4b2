#include "contacts/typed_input.h"

#include <string>

#include "platform/input.h"

namespace {

using platform::Got;

std::string& token_buffer() {
  static std::string token;
  return token;
}

bool read_text(char (&field)[kFieldSize]) {
  std::string& token = token_buffer();
  if (platform::stdin_reader().read_token(token) == Got::end) return false;
  set_field(field, token);
  return true;
}

}  // namespace

bool read_number(int& value) {
  Got got = platform::stdin_reader().read_int(value);
  if (got == Got::end) platform::end_program();
  return got == Got::value;
}

bool read_key(char (&key)[kFieldSize]) {
  std::string& token = token_buffer();
  if (platform::stdin_reader().read_token(token) == Got::end) platform::end_program();
  set_field(key, token);
  return token.size() < kFieldSize;
}

bool read_contact(person& fields) {
  if (!read_text(fields.name) || !read_text(fields.phone) || !read_text(fields.qq)) return false;
  Got got = platform::stdin_reader().read_int(fields.familiar);
  if (got == Got::bad) fields.familiar = 0;
  return got != Got::end;
}
