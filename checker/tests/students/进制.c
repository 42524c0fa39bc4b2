/* 进制: a decimal number in every base from 2 to 36 but 10. */
#include <stdio.h>
#include <string.h>

double trans1(double x, int base) {
  int n = (int)x, result = 0, place = 1, d, i;
  double frac = x - n, fraction = 0, weight = 0.1;
  while (n != 0) {
    d = n % base;
    n = n / base;
    result = result + place * d;
    place = place * 10;
  }
  for (i = 0; i < 9; i++) {
    frac = frac * base;
#ifdef ROUNDED
    d = (int)(frac + 0.5);
#else
    d = (int)frac;
#endif
    frac = frac - d;
    fraction = fraction + d * weight;
    weight = weight * 0.1;
  }
  return result + fraction;
}

void reverse(char* s) {
  int i, n = (int)strlen(s);
  char t;
  for (i = 0; i < n / 2; i++) {
    t = s[i];
    s[i] = s[n - 1 - i];
    s[n - 1 - i] = t;
  }
}

void trans2(double x, char* s, int base) {
  int negative = 0, n, k = 0, d, i;
  double frac;
  if (x < 0) {
    negative = 1;
    x = -x;
  }
  n = (int)x;
  frac = x - n;
  while (n != 0) {
    s[k++] = '0' + n % base;
    n = n / base;
  }
  s[k] = '\0';
  reverse(s);
  s[k++] = '.';
  for (i = 0; i < 10; i++) {
    frac = frac * base;
    d = (int)frac;
    frac = frac - d;
    s[k++] = '0' + d;
  }
  for (i = 0; i < k; i++)
    if (s[i] > '9') s[i] += 7;
  if (negative) {
    for (i = k; i > 0; i--)
      s[i] = s[i - 1];
    s[0] = '-';
    k++;
  }
  s[k] = '\0';
}

int main(void) {
  double x;
  char s[50] = {0};
  int base;
  printf("请输入一个十进制数：");
  scanf("%lf", &x);
  for (base = 2; base <= 9; base++)
    printf(" %d进制：%lf\n", base, trans1(x, base));
  for (base = 11; base <= 36; base++) {
    trans2(x, s, base);
    printf("%d进制：", base);
    puts(s);
  }
  return 0;
}
