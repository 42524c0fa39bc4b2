/* 排序: stud_dat sorted by total, highest first, into stud_sort. */
#include <stdio.h>

struct student {
  char num[20];
  char name[20];
  float score[3];
  float total;
};

#ifdef BY_FIRST_SCORE
#define KEY(p) ((p)->score[0])
#else
#define KEY(p) ((p)->total)
#endif

void bubblechange(struct student** p) {
  int i, j;
  struct student* t;
  for (i = 0; i < 2; i++)
    for (j = 0; j < 2 - i; j++)
#ifdef TIES_EXCHANGED
      if (KEY(p[j + 1]) >= KEY(p[j])) {
#else
      if (KEY(p[j + 1]) > KEY(p[j])) {
#endif
        t = p[j];
        p[j] = p[j + 1];
        p[j + 1] = t;
      }
}

int main(void) {
  struct student s[3];
  struct student* p[3] = {&s[0], &s[1], &s[2]};
  FILE *in, *out;
  int i;
  if ((in = fopen("stud_dat", "r")) == NULL) {
    printf("打不开1！\n");
    return 0;
  }
  if ((out = fopen("stud_sort", "w")) == NULL) {
    printf("打不开2！\n");
    return 0;
  }
  fread(s, sizeof(struct student), 3, in);
  bubblechange(p);
  for (i = 0; i < 3; i++)
    fwrite(p[i], sizeof(struct student), 1, out);
  return 0;
}
