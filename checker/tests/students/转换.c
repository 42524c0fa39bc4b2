/* 转换: the digits of an integer, one by one, by recursion. */
#include <stdio.h>

int j = 0;

void trans(int n, char* s) {
  int d = n % 10;
  if (n > 9) trans(n / 10, s);
  putchar('0' + d);
  s[j] = (char)d;
  j++;
}

int main(void) {
  int n;
  char s[20];
#ifdef HALF_WIDTH_COLON
  printf("请输入一个数字:");
#else
  printf("请输入一个数字：");
#endif
  scanf("%d", &n);
  trans(n, s);
#ifdef LINE_END_AT_THE_END
  printf("\n");
#endif
#ifdef HANGS
  for (;;) {
  }
#endif
#ifdef PRINTS_WITHOUT_END
  for (;;)
    printf("%d", n);
#endif
#ifdef CRASHES
  *(volatile int*)0 = n;
#endif
#ifdef WAITS_FOR_A_KEY
  getchar();
  getchar();
#endif
  return 0;
}
