// 积分: integrates sin, cos or exp over an interval by the composite
// trapezoidal rule, in a menu loop that ends with choice 4.
#include <cmath>
#include <cstdio>

#include "input/read.h"
#include "platform/console.h"

namespace {

// The trapezoidal rule over 10000 equal steps from a to b. The order of the
// operations is part of the result: it fixes the last printed digit.
double integral(double a, double b, double (*f)(double)) {
  int steps = 10000;
  double h = (b - a) / static_cast<double>(steps);
  double fa = f(a);
  double fb = f(b);
  double result = (fb + fa) * h / 2.0;
  for (int i = 1; i < steps; ++i) {
    double x = static_cast<double>(i) * h + a;
    result = result + f(x) * h;
  }
  // With h = 0 a negative integrand leaves -0; an empty interval has integral 0.
  if (result == 0.0) result = 0.0;
  return result;
}

// The integrand and the result line of a menu choice.
struct Integrand {
  double (*f)(double);
  const char* format;
};

const Integrand* integrand_of(int choice) {
  // The standard library's own functions, picked by their double overload.
  static const Integrand integrands[] = {
      {static_cast<double (*)(double)>(std::sin), "sinx从%lf积到%lf为%lf\n"},
      {static_cast<double (*)(double)>(std::cos), "cosx从%lf积到%lf%lf\n"},
      {static_cast<double (*)(double)>(std::exp), "e^x从%lf积到%lf%lf\n"},
  };
  if (choice < 1 || choice > 3) return nullptr;
  return &integrands[choice - 1];
}

}  // namespace

int main() {
  platform::start_console();
  for (;;) {
    std::printf("请输入积分类型：sinx输入1，cosx输入2，e^x输入3,退出输入4：");
    // An unreadable choice counts as 0, one of the unknown choices.
    int choice = 0;
    if (input::scan_number(stdin, choice) == EOF || choice == 4) return 0;

    std::printf("请输入积分上下限：");
    double a = 0.0;
    double b = 0.0;
    if (input::scan_number(stdin, a) == EOF || input::scan_number(stdin, b) == EOF) return 0;

    if (const Integrand* integrand = integrand_of(choice)) {
      std::printf(integrand->format, a, b, integral(a, b, integrand->f));
    }
  }
}
