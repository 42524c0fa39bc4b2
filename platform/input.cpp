#include "platform/input.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "platform/console_internal.h"
#include "platform/file.h"
#include "platform/gbk.h"

namespace platform {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

// A line at least this long is handed over rather than copied, so that it
// is never held twice.
constexpr std::size_t kHandOverLength = 4 * kChunk;

// White space as the C locale classifies it.
constexpr bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

Buffer::~Buffer() {
  std::free(data_);
}

Buffer::Buffer(Buffer&& other) noexcept
    : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
  other.data_ = nullptr;
  other.size_ = other.capacity_ = 0;
}

Buffer& Buffer::operator=(Buffer&& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

void Buffer::reserve(std::size_t size) {
  if (size <= capacity_ && data_ != nullptr) return;
  std::size_t capacity = std::max(size, 2 * capacity_);
  void* grown = std::realloc(data_, capacity + 1);
  if (grown == nullptr) end_for_lack_of_memory();
  data_ = static_cast<char*>(grown);
  capacity_ = capacity;
  data_[size_] = '\0';
}

void Buffer::resize(std::size_t size) {
  reserve(size);
  size_ = size;
  data_[size_] = '\0';
}

void Buffer::assign(std::string_view bytes) {
  resize(bytes.size());
  std::memcpy(data_, bytes.data(), bytes.size());
}

void Buffer::drop(std::size_t count) {
  if (count == 0) return;
  std::memmove(data_, data_ + count, size_ - count);
  resize(size_ - count);
}

Reader::Reader() : fd_(0), owns_fd_(false), typed_(true) {}

Reader::Reader(const char* file_name) : fd_(open_for_reading(file_name)), owns_fd_(true) {}

Reader::Reader(int descriptor) : fd_(descriptor), owns_fd_(false) {}

Reader::~Reader() {
  if (owns_fd_ && fd_ >= 0) close_file(fd_);
}

bool Reader::rewind() {
  if (typed_ || !rewind_file(fd_)) return false;
  buf_.resize(0);
  pos_ = 0;
  keep_from_ = std::string::npos;
  at_end_ = failed_ = false;
  return true;
}

// Appends more input to the buffer; false once the input is exhausted.
// Bytes before the current position (or before a token or line being read)
// are dropped first, so the buffer holds little more than what is being read.
bool Reader::fill() {
  if (at_end_ || fd_ < 0) return false;
  std::size_t drop = keep_from_ < pos_ ? keep_from_ : pos_;
  buf_.drop(drop);
  pos_ -= drop;
  if (keep_from_ != std::string::npos) keep_from_ -= drop;

  // A chunk at a time, so that what is read is still in the cache when it
  // is looked at.
  static char chunk[kChunk];
  long n = typed_ ? read_standard_input(chunk, kChunk) : read_some(fd_, chunk, kChunk);
  if (n > 0) {
    buf_.reserve(buf_.size() + static_cast<std::size_t>(n));
    std::memcpy(buf_.room(), chunk, static_cast<std::size_t>(n));
  }
  if (n < 0) failed_ = true;
  if (n <= 0) {
    at_end_ = true;
    return false;
  }
  buf_.resize(buf_.size() + static_cast<std::size_t>(n));
  return true;
}

bool Reader::skip_space() {
  for (;;) {
    while (pos_ < buf_.size() && is_space(buf_.data()[pos_]))
      ++pos_;
    if (pos_ < buf_.size()) return true;
    if (!fill()) return false;
  }
}

// Consumes the token at the current position (white space already skipped).
// The view stays valid until the next read.
std::string_view Reader::take_token() {
  keep_from_ = pos_;
  for (;;) {
    while (pos_ < buf_.size() && !is_space(buf_.data()[pos_]))
      ++pos_;
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

// Converts the longest numeric prefix of the next token. What follows the
// prefix stays unread; a token without such a prefix is consumed whole.
template <typename T, typename Convert>
Got Reader::read_number(T& value, Convert convert) {
  if (!skip_space()) return Got::end;
  std::string_view token = take_token();
  const std::size_t start = static_cast<std::size_t>(token.data() - buf_.data());
  const std::string text(token);
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

bool Reader::read_line(Buffer& line) {
  if (pos_ >= buf_.size() && !fill()) return false;
  keep_from_ = pos_;
  std::size_t scanned = pos_;
  std::size_t end = 0, next = 0;
  for (;;) {
    const void* nl = std::memchr(buf_.data() + scanned, '\n', buf_.size() - scanned);
    if (nl != nullptr) {
      end = static_cast<std::size_t>(static_cast<const char*>(nl) - buf_.data());
      next = end + 1;
      break;
    }
    std::size_t scanned_in_line = buf_.size() - keep_from_;  // fill moves the line
    bool more = fill();
    scanned = keep_from_ + scanned_in_line;
    if (!more) {
      end = next = buf_.size();
      break;
    }
  }
  const std::size_t start = keep_from_;
  keep_from_ = std::string::npos;
  std::size_t length = end - start;
  if (length > 0 && buf_.data()[end - 1] == '\r') --length;
  if (start == 0 && end >= kHandOverLength) {
    // The buffer has grown to hold the line: it becomes the line, and what
    // follows the line goes on in a buffer of its own.
    Buffer rest;
    rest.assign(buf_.view().substr(next));
    buf_.resize(length);
    std::swap(line, buf_);
    std::swap(buf_, rest);
    pos_ = 0;
  } else {
    line.assign(buf_.view().substr(start, length));
    pos_ = next;
  }
  return true;
}

Reader& typed_input() {
  static Reader reader;
  return reader;
}

namespace {

template <typename T>
bool read_or_zero(T& value, Got got, const T& got_value) {
  if (got == Got::end) return false;
  value = got == Got::value ? got_value : T{};
  return true;
}

}  // namespace

bool read_number(int& value, Reader& in) {
  int got = 0;
  return read_or_zero(value, in.read_int(got), got);
}

bool read_number(float& value, Reader& in) {
  float got = 0;
  return read_or_zero(value, in.read_float(got), got);
}

bool read_number(double& value, Reader& in) {
  double got = 0;
  return read_or_zero(value, in.read_double(got), got);
}

bool read_field(char* field, std::size_t size, Reader& in) {
  std::string token;
  if (in.read_token(token) == Got::end) return false;
  copy_field(field, size, token.substr(0, token.find('\0')));
  return true;
}

bool read_typed_line(Buffer& line) {
  return typed_input().read_line(line);
}

void end_program() {
  std::exit(0);
}

void end_for_lack_of_memory() {
  std::set_new_handler(nullptr);  // a second failure while saying so is not retried
  std::puts("内存不足！");
  std::exit(0);
}

}  // namespace platform
