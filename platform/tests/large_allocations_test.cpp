// The programs' operator new: every size gives usable memory, large blocks
// are aligned for huge pages, and a request that cannot be met ends in
// std::bad_alloc after the new-handler has had its turn.
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include <gtest/gtest.h>

namespace {

constexpr std::size_t kHugePage = 2 << 20;

bool aligned_to(const void* block, std::size_t alignment) {
  return reinterpret_cast<std::uintptr_t>(block) % alignment == 0;
}

TEST(LargeAllocations, EverySizeIsWritableAlignedAndGivenBack) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, kHugePage - 1,
                           kHugePage, kHugePage + 1, 9 * kHugePage + 3}) {
    auto* block = static_cast<unsigned char*>(::operator new(size));
    ASSERT_NE(block, nullptr) << size;
    EXPECT_TRUE(aligned_to(block, __STDCPP_DEFAULT_NEW_ALIGNMENT__)) << size;
    if (size >= kHugePage) {
      EXPECT_TRUE(aligned_to(block, kHugePage)) << size;
    }
    if (size > 0) {
      std::memset(block, 0xA5, size);
      EXPECT_EQ(block[0], 0xA5);
      EXPECT_EQ(block[size - 1], 0xA5);
    }
    ::operator delete(block);
  }
  void* first = ::operator new(0);
  void* second = ::operator new(0);
  EXPECT_NE(first, second);  // each allocation is a distinct object, even of size zero
  ::operator delete(first);
  ::operator delete(second);
}

int handler_calls = 0;

void count_and_give_up() {
  ++handler_calls;
  std::set_new_handler(nullptr);
}

TEST(LargeAllocations, AnImpossibleRequestCallsTheHandlerThenThrows) {
  for (std::size_t size : {std::numeric_limits<std::size_t>::max() - kHugePage / 2,
                           std::numeric_limits<std::size_t>::max() / 2}) {
    handler_calls = 0;
    std::set_new_handler(count_and_give_up);
    EXPECT_THROW(::operator delete(::operator new(size)), std::bad_alloc) << size;
    EXPECT_EQ(handler_calls, 1) << size;
  }
}

}  // namespace
