// 内积: reads the dimension and the coordinates of two vectors and writes
// their dot product, computed in single precision.
#include <cstdio>
#include <cstdlib>

#include "input/read.h"
#include "platform/console.h"

namespace {

// The sum of b[i] * a[i] in index order, every step rounded to float.
float DotProduct(float* a, float* b, int n) {
  float sum = 0.0f;
  for (int i = 0; i < n; ++i) {
    float product = b[i] * a[i];
    sum = sum + product;
  }
  return sum;
}

// Room for the coordinates of one vector; a dimension below 1 needs none.
float* allocate_vector(int dimension) {
  std::size_t count = dimension > 0 ? static_cast<std::size_t>(dimension) : 0;
  return static_cast<float*>(std::malloc(count * sizeof(float)));
}

// Reads the coordinates one by one; false when the input ends first.
bool read_coordinates(float* vector, int dimension) {
  for (int i = 0; i < dimension; ++i) {
    if (input::scan_number(stdin, vector[i]) == EOF) return false;
  }
  return true;
}

}  // namespace

int main() {
  platform::start_console();
  std::printf("请输入向量维度：");
  int dimension = 0;
  if (input::scan_number(stdin, dimension) == EOF) return 0;

  float* first = allocate_vector(dimension);
  float* second = first != nullptr ? allocate_vector(dimension) : nullptr;
  if (dimension > 0 && (first == nullptr || second == nullptr)) {
    std::printf("内存不足，放不下%d维的向量\n", dimension);
  } else {
    std::printf("请输入第一个向量的坐标:");
    if (read_coordinates(first, dimension)) {
      std::printf("请输入第二个向量的坐标:");
      if (read_coordinates(second, dimension)) {
        std::printf("这两个向量的点积为%f\n", DotProduct(first, second, dimension));
      }
    }
  }
  std::free(first);
  std::free(second);
  return 0;
}
