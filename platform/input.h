// Careful reading of typed input and of text files.
//
// A Reader hands out white-space-delimited tokens, numbers and whole lines
// the way the C formatted input functions do for well-formed input, and
// never gets stuck on bad input:
//  - a number read skips white space, converts the longest numeric prefix of
//    the next token and leaves the rest of the token for the next read;
//  - a token with no numeric prefix is consumed whole and reported as Got::bad;
//  - the end of input is reported as Got::end, never mistaken for a value;
//  - a file that cannot be read to its end is failed(), never taken for a
//    shorter one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class Got { value, bad, end };

// Bytes in memory of their own, followed by a zero byte so that data() is a
// C string too. The memory grows in place where it can (realloc), so a long
// line is neither copied nor touched again as it grows. When there is no
// memory for it, the program ends as it does when memory runs out.
class Buffer {
 public:
  Buffer() = default;
  ~Buffer();
  Buffer(Buffer&& other) noexcept;
  Buffer& operator=(Buffer&& other) noexcept;

  char* data() { return data_ != nullptr ? data_ : empty_; }
  const char* data() const { return data_ != nullptr ? data_ : empty_; }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {data(), size_}; }

  // Room for `size` bytes and the zero byte after them; the bytes held stay.
  void reserve(std::size_t size);
  // Holds `size` bytes: those held first, then what was in the room after them.
  void resize(std::size_t size);
  void assign(std::string_view bytes);
  // Drops the first `count` bytes.
  void drop(std::size_t count);
  // Free room after the bytes held, for reading into.
  char* room() { return data() + size_; }
  std::size_t room_size() const { return capacity_ > size_ ? capacity_ - size_ : 0; }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // bytes that the memory holds, the zero byte not counted
  char empty_[1] = {};
};

class Reader {
 public:
  // Reads standard input, as the console hands it over.
  Reader();
  // Reads the file of that name; opened() tells whether it could be opened
  // (see open_for_reading).
  explicit Reader(const char* file_name);
  // Reads a file the caller opened and closes.
  explicit Reader(int descriptor);
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  bool opened() const { return fd_ >= 0; }
  // Whether reading stopped at an error of the file rather than at its end.
  bool failed() const { return failed_; }

  Got read_int(int& value);
  Got read_float(float& value);
  Got read_double(double& value);
  Got read_token(std::string& token);

  // The next line without its line break (a carriage return before it is
  // dropped too); a last line without a line break still counts. False at
  // the end of input with nothing read.
  bool read_line(Buffer& line);

  // Goes back to the start of the file (files only).
  bool rewind();

 private:
  bool fill();
  bool skip_space();
  std::string_view take_token();
  template <typename T, typename Convert>
  Got read_number(T& value, Convert convert);

  int fd_;
  bool owns_fd_;
  bool typed_ = false;  // standard input, read through the console
  bool at_end_ = false;
  bool failed_ = false;
  Buffer buf_;
  std::size_t pos_ = 0;
  std::size_t keep_from_ = std::string::npos;  // start of a token or line being read
};

// The Reader of standard input, one for the whole program. Before it waits
// for more input, everything printed so far is shown.
Reader& typed_input();

// The next number; a token that is no number is consumed and counts as 0.
// False at the end of input, with `value` unchanged.
bool read_number(int& value, Reader& in = typed_input());
bool read_number(float& value, Reader& in = typed_input());
bool read_number(double& value, Reader& in = typed_input());

// The next token up to a NUL byte it may hold (where "%s" output would
// stop), cut at a character boundary to fit a field of `size` bytes: its
// text, a terminating zero and zeros to the end. False at the end of input,
// with the field unchanged.
bool read_field(char* field, std::size_t size, Reader& in = typed_input());

// The next typed line (see Reader::read_line). False at the end of input
// with nothing typed.
bool read_typed_line(Buffer& line);

// Ends the program at once with status 0, as when input runs out.
[[noreturn]] void end_program();

}  // namespace platform
