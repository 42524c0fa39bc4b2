// Careful reading of typed input and of text files.
//
// A Reader hands out white-space-delimited tokens, numbers and whole lines
// the way the C formatted input functions do for well-formed input, and
// never gets stuck on bad input:
//  - a number read skips white space, converts the longest numeric prefix of
//    the next token and leaves the rest of the token for the next read;
//  - a token with no numeric prefix is consumed whole and reported as Got::bad;
//  - end of input is reported as Got::end, never mistaken for a value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class Got { value, bad, end };

class Reader {
 public:
  // Reads from an open file descriptor; the Reader closes it if it owns it.
  explicit Reader(int fd, bool owns_fd = false);
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // Opens a file for reading; false when it cannot be opened.
  bool open(const char* path);

  Got read_int(int& value);
  Got read_long_long(long long& value);
  Got read_double(double& value);
  Got read_float(float& value);

  // The next white-space-delimited token, whole. Got::end when only white
  // space remains.
  Got read_token(std::string& token);

  // The same, as it stands in the reader's buffer: valid until the next read.
  Got read_token(std::string_view& token);

  // The next line without its line break; a last line without a line break
  // still counts. False at end of input with nothing read.
  bool read_line(std::string& line);

  // Position the reader at the start of the file again (files only).
  bool rewind();

 private:
  bool fill();
  bool read_chunk();
  bool read_typed();
  bool skip_space();
  void take_line(std::string& line, std::size_t end, std::size_t next);
  std::string_view take_token();
  template <typename T, typename Convert>
  Got read_number(T& value, Convert convert);

  int fd_;
  bool owns_fd_;
  bool at_end_ = false;
  std::string buf_;
  std::size_t pos_ = 0;
  std::size_t keep_from_ = std::string::npos;  // start of a token being read
  std::size_t read_size_;                      // what the next read asks for
};

// The reader of standard input, shared by the whole program. Before it waits
// for more input it flushes standard output, so a prompt always shows first.
Reader& stdin_reader();

// Ends the program at once with status 0, as when input runs out.
[[noreturn]] void end_program();

}  // namespace platform
