/* 矩阵: the four smallest of a random matrix to the corners, the largest to the centre. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

void print(int (*a)[5]) {
  int i, j;
  for (i = 0; i < 5; i++) {
    for (j = 0; j < 5; j++)
      printf("%-4.d", a[i][j]);
    printf("\n");
  }
}

void change(int (*a)[5]) {
  int small[4] = {1000, 1000, 1000, 1000}, *at[5] = {0}, large = 0, i, j, k, m, t;
#ifdef CORNERS_SWAPPED
  int* to[5] = {&a[0][0], &a[0][4], &a[4][4], &a[4][0], &a[2][2]};
#else
  int* to[5] = {&a[0][0], &a[0][4], &a[4][0], &a[4][4], &a[2][2]};
#endif
  for (i = 0; i < 5; i++)
    for (j = 0; j < 5; j++) {
      if (a[i][j] > large) {
        large = a[i][j];
        at[4] = &a[i][j];
      }
      for (k = 0; k < 4; k++)
        if (a[i][j] < small[k]) {
          for (m = 3; m > k; m--) {
            small[m] = small[m - 1];
            at[m] = at[m - 1];
          }
          small[k] = a[i][j];
          at[k] = &a[i][j];
          break;
        }
    }
  for (i = 0; i < 5; i++) {
    if (at[i] == NULL) continue;
    t = *at[i];
    *at[i] = *to[i];
    *to[i] = t;
    for (j = i + 1; j < 5; j++)
      if (at[j] == to[i]) {
        at[j] = at[i];
        break;
      }
  }
}

int main(void) {
  int a[5][5], i, j;
  srand((unsigned)time(NULL));
  for (i = 0; i < 5; i++)
    for (j = 0; j < 5; j++)
      a[i][j] = rand() % 100;
  print(a);
  change(a);
  puts("转换后的矩阵：");
  print(a);
  return 0;
}
