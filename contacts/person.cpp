#include "contacts/person.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/gbk.h"

namespace {

// Records are carved from blocks that grow with the book: the first is small,
// so that a small book costs nothing at start, and the largest are large
// enough for huge pages (see the programs' operator new). A record takes its
// 64 bytes and no more.
constexpr std::size_t kFirstBlock = 64 * 1024;
constexpr std::size_t kLargestBlock = 8 << 20;

struct Pool {
  person* released = nullptr;  // given back, linked through `next`
  char* next = nullptr;        // the unused rest of the newest block
  char* end = nullptr;
  std::size_t block = kFirstBlock;
};
Pool pool;

// A new block; when a block of the size due is too much for the memory left,
// a smaller one still holds a record or more.
bool grow() {
  for (std::size_t size = pool.block; size >= sizeof(person); size /= 2) {
    if (auto* block = static_cast<char*>(::operator new(size, std::nothrow))) {
      pool.next = block;
      pool.end = block + size;
      pool.block = std::min(2 * size, kLargestBlock);
      return true;
    }
  }
  return false;
}

}  // namespace

person* new_person() {
  void* room = pool.released;
  if (room != nullptr) {
    pool.released = pool.released->next;
  } else {
    if (static_cast<std::size_t>(pool.end - pool.next) < sizeof(person) && !grow()) return nullptr;
    room = pool.next;
    pool.next += sizeof(person);
  }
  return new (room) person{};
}

void release(person* record) {
  record->next = pool.released;
  pool.released = record;
}

void set_field(char (&field)[kFieldSize], std::string_view text) {
  platform::copy_field(field, kFieldSize, text);
}

char* put_text(char* out, const char* text) {
  std::size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  return out + length;
}

char* put_padded(char* out, const char* text, std::size_t width) {
  char* end = put_text(out, text);
  if (end < out + width) {
    std::memset(end, ' ', static_cast<std::size_t>(out + width - end));
    end = out + width;
  }
  return end;
}

void Rows::write_block() {
  if (used_ > 0 && std::fwrite(block_, 1, used_, stream_) != used_) written_ = false;
  used_ = 0;
}

namespace {

// A text field filled with blanks to its full size: the bytes after its text
// are zero (set_field and new_person leave them so), and each becomes a
// blank. Gives the end of the text, or of `width` bytes if that is further.
char* put_field(char* out, const char (&field)[kFieldSize], std::size_t width) {
  for (std::size_t i = 0; i < kFieldSize; ++i)
    out[i] = field[i] == '\0' ? ' ' : field[i];
  return out + std::max(width, ::strnlen(field, kFieldSize));
}

}  // namespace

// Phone and QQ number are at most 14 bytes in columns of 15, so their blanks
// are exactly those of the whole field.
char* put_columns(char* out, const person& record) {
  out = put_field(out, record.name, 10);
  *out++ = ' ';
  out = put_field(out, record.phone, 15);
  *out++ = ' ';
  return put_field(out, record.qq, 15);
}

void report_no_memory() {
  std::puts("内存不足！");
}
