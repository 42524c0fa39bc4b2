#include "platform/input.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/console.h"
#include "platform/file.h"

namespace platform {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

// The first read asks for a page only, so a program that is typed a few
// lines touches no more fresh memory than it needs; every read that fills
// its request doubles the next one, up to a chunk.
constexpr std::size_t kFirstRead = 4096;

// Lines at least this long are handed over rather than copied.
constexpr std::size_t kHandOverLength = 4 * kChunk;

// White space as the C locale classifies it.
constexpr bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Eight bytes at once, for the long runs of a large file.
std::uint64_t eight_bytes(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

constexpr std::uint64_t kEachByte = 0x0101010101010101;

// Whether any of the eight bytes is below 0x21: every white-space byte is, a
// byte of a token rarely is (and a GBK byte never).
bool may_hold_space(std::uint64_t word) {
  return ((word - kEachByte * 0x21) & ~word & kEachByte * 0x80) != 0;
}

// The first byte from `at` on that is white space, or `end`.
const char* find_space(const char* at, const char* end) {
  while (end - at >= 8 && !may_hold_space(eight_bytes(at)))
    at += 8;
  while (at < end && !is_space(*at))
    ++at;
  return at;
}

// The first byte from `at` on that is not white space, or `end`.
const char* skip_space_from(const char* at, const char* end) {
  while (end - at >= 8 && eight_bytes(at) == kEachByte * ' ')
    at += 8;
  while (at < end && is_space(*at))
    ++at;
  return at;
}

}  // namespace

Reader::Reader(int fd, bool owns_fd) : fd_(fd), owns_fd_(owns_fd), read_size_(kFirstRead) {}

Reader::~Reader() {
  if (owns_fd_ && fd_ >= 0) close_file(fd_);
}

bool Reader::open(const char* path) {
  int fd = open_for_reading(path);
  if (fd < 0) return false;
  if (owns_fd_ && fd_ >= 0) close_file(fd_);
  fd_ = fd;
  owns_fd_ = true;
  buf_.clear();
  pos_ = 0;
  at_end_ = false;
  return true;
}

bool Reader::rewind() {
  if (!rewind_file(fd_)) return false;
  buf_.clear();
  pos_ = 0;
  keep_from_ = std::string::npos;
  at_end_ = false;
  return true;
}

// Appends more input to the buffer; false once the input is exhausted.
// Bytes before the current position (or before a token being read) are
// dropped first, so the buffer never grows beyond one token or line plus a chunk.
bool Reader::fill() {
  if (at_end_) return false;
  std::size_t drop = keep_from_ < pos_ ? keep_from_ : pos_;
  if (drop > 0) {
    buf_.erase(0, drop);
    pos_ -= drop;
    if (keep_from_ != std::string::npos) keep_from_ -= drop;
  }
  if (fd_ != kStandardInput || owns_fd_) return read_chunk();
  flush_output();
  return typed_input_converted() ? read_typed() : read_chunk();
}

// Reads the next chunk into the buffer as it stands; a read error ends the
// input like the end of the file.
bool Reader::read_chunk() {
  std::size_t old = buf_.size();
  buf_.resize(old + read_size_);
  long n = read_some(fd_, buf_.data() + old, read_size_);
  buf_.resize(old + (n > 0 ? static_cast<std::size_t>(n) : 0));
  if (n <= 0) at_end_ = true;
  if (n == static_cast<long>(read_size_) && read_size_ < kChunk) read_size_ *= 2;
  return n > 0;
}

// Appends what is typed, converted by the console.
bool Reader::read_typed() {
  std::size_t old = buf_.size();
  if (!read_typed_input(buf_)) at_end_ = true;
  return buf_.size() > old;
}

bool Reader::skip_space() {
  for (;;) {
    const char* end = buf_.data() + buf_.size();
    pos_ = static_cast<std::size_t>(skip_space_from(buf_.data() + pos_, end) - buf_.data());
    if (pos_ < buf_.size()) return true;
    if (!fill()) return false;
  }
}

// Consumes the token at the current position (white space already skipped).
// The view stays valid until the next read.
std::string_view Reader::take_token() {
  keep_from_ = pos_;
  for (;;) {
    const char* end = buf_.data() + buf_.size();
    pos_ = static_cast<std::size_t>(find_space(buf_.data() + pos_, end) - buf_.data());
    if (pos_ < buf_.size() || !fill()) break;
  }
  std::string_view token(buf_.data() + keep_from_, pos_ - keep_from_);
  keep_from_ = std::string::npos;
  return token;
}

Got Reader::read_token(std::string& token) {
  if (!skip_space()) return Got::end;
  token.assign(take_token());
  return Got::value;
}

Got Reader::read_token(std::string_view& token) {
  if (!skip_space()) return Got::end;
  token = take_token();
  return Got::value;
}

// Converts the longest numeric prefix of the next token. What follows the
// prefix stays unread; a token without such a prefix is consumed whole.
template <typename T, typename Convert>
Got Reader::read_number(T& value, Convert convert) {
  if (!skip_space()) return Got::end;
  std::string_view token = take_token();
  std::size_t start = static_cast<std::size_t>(token.data() - buf_.data());
  std::string text(token);
  char* end = nullptr;
  errno = 0;
  bool in_range = convert(text.c_str(), &end, value);
  std::size_t used = static_cast<std::size_t>(end - text.c_str());
  if (used == 0) return Got::bad;
  pos_ = start + used;
  return in_range ? Got::value : Got::bad;
}

Got Reader::read_int(int& value) {
  return read_number(value, [](const char* s, char** end, int& v) {
    long n = std::strtol(s, end, 10);
    if (errno == ERANGE || n < INT_MIN || n > INT_MAX) return false;
    v = static_cast<int>(n);
    return true;
  });
}

Got Reader::read_long_long(long long& value) {
  return read_number(value, [](const char* s, char** end, long long& v) {
    v = std::strtoll(s, end, 10);
    return errno != ERANGE;
  });
}

// Like the formatted input of floating-point numbers, values beyond the range
// of the type become infinities rather than errors.
Got Reader::read_double(double& value) {
  return read_number(value, [](const char* s, char** end, double& v) {
    v = std::strtod(s, end);
    return true;
  });
}

Got Reader::read_float(float& value) {
  return read_number(value, [](const char* s, char** end, float& v) {
    v = std::strtof(s, end);
    return true;
  });
}

bool Reader::read_line(std::string& line) {
  if (pos_ >= buf_.size() && !fill()) return false;
  keep_from_ = pos_;
  std::size_t scanned = pos_;
  for (;;) {
    const void* nl = std::memchr(buf_.data() + scanned, '\n', buf_.size() - scanned);
    if (nl != nullptr) {
      std::size_t end = static_cast<std::size_t>(static_cast<const char*>(nl) - buf_.data());
      take_line(line, end, end + 1);
      break;
    }
    std::size_t scanned_in_line = buf_.size() - keep_from_;  // fill may move the line
    bool more = fill();
    scanned = keep_from_ + scanned_in_line;
    if (!more) {
      take_line(line, buf_.size(), buf_.size());
      break;
    }
  }
  keep_from_ = std::string::npos;
  return true;
}

// Gives the line from keep_from_ up to `end` to the caller and goes on
// reading at `next`. A long line has grown the buffer to its own size, so
// the buffer itself becomes the line and only the few bytes after it are
// kept: the line is never held twice.
void Reader::take_line(std::string& line, std::size_t end, std::size_t next) {
  if (end - keep_from_ < kHandOverLength) {
    line.assign(buf_, keep_from_, end - keep_from_);
    pos_ = next;
    return;
  }
  std::string rest(buf_, next);
  line.swap(buf_);
  line.resize(end);
  line.erase(0, keep_from_);
  buf_.assign(rest);
  pos_ = 0;
}

Reader& stdin_reader() {
  static Reader reader(kStandardInput);
  return reader;
}

void end_program() {
  std::exit(0);
}

}  // namespace platform
