/* The yardstick of the contact book: the same work done the plain C way.
 * It loads "联系人.txt" with fscanf into a chain of records, one malloc
 * each, and answers the menu choices the benchmark types with the contact
 * book's own bytes: 2 browses, 3 then 1 searches by name, 6 saves, and 0
 * asks the exit question, saving on answer 2. A save writes each file with
 * fprintf into a temporary file that is flushed, synced and renamed over the
 * old one, and then syncs the folder. Other choices are not measured and
 * only show the menu again. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

struct person {
  char name[15];
  char phone[15];
  char qq[15];
  int familiar;
  struct person* next;
};

static struct person* load(void) {
  FILE* file = fopen("联系人.txt", "r");
  if (file == NULL) {
    puts("打不开！");
    exit(0);
  }
  struct person* first = NULL;
  struct person* last = NULL;
  for (;;) {
    struct person* p = malloc(sizeof *p);
    if (p == NULL ||
        fscanf(file, "%14s %14s %14s %d", p->name, p->phone, p->qq, &p->familiar) != 4) {
      free(p);
      break;
    }
    p->next = NULL;
    if (last == NULL)
      first = p;
    else
      last->next = p;
    last = p;
  }
  fclose(file);
  return first;
}

static void menu(void) {
  puts("\n\n**************欢迎进入通信录系统**************\n");
  puts(">             新添联系人请输入1              <");
  puts(">             浏览联系人请输入2              <");
  puts(">             查找联系人请输入3              <");
  puts(">             修改联系人请输入4              <");
  puts(">             删除联系人请输入5              <");
  puts(">             保存联系人请输入6              <");
  puts(">         退出系统请输入0(记得保存~)         <\n");
  puts("**********************************************\n");
  fputs("                    >>>", stdout);
}

static void skim(const struct person* p) {
  puts("\n 姓名        电话号码          QQ        常用联系人");
  for (; p != NULL; p = p->next) {
    printf("%-10s %-15s %-15s   ", p->name, p->phone, p->qq);
    puts(p->familiar == 1 ? "是" : "否");
  }
}

static void search(const struct person* p) {
  puts("\n             >请输入要查找的类型<");
  puts("               姓名查找请输入1");
  puts("               电话查找请输入2");
  puts("                QQ查找请输入3");
  puts("            常用联系人查找请输入4\n");
  fputs("                    >>>", stdout);
  int type = 0;
  char key[15];
  if (scanf("%d", &type) != 1 || type != 1) return;
  fputs("\n             请输入姓名:", stdout);
  if (scanf("%14s", key) != 1) return;
  int found = 0;
  for (; p != NULL; p = p->next) {
    if (strcmp(p->name, key) != 0) continue;
    printf("\n%-10s %-15s %-15s   ", p->name, p->phone, p->qq);
    puts(p->familiar == 1 ? "常用" : "不常用");
    ++found;
  }
  if (found == 0) puts("\n                <查无此人>!");
}

/* Writes one of the two files in place of the old one, durably; 0 when
 * anything failed. */
static int save_file(const char* name, const struct person* p, int frequent) {
  char temporary[64];
  snprintf(temporary, sizeof temporary, "%s.tmp", name);
  FILE* file = fopen(temporary, "w");
  if (file == NULL) return 0;
  for (; p != NULL; p = p->next) {
    if (!frequent)
      fprintf(file, "%-10s %-15s %-15s %d\n", p->name, p->phone, p->qq, p->familiar);
    else if (p->familiar != 0)
      fprintf(file, "%s\t %s\t %-15s\t\n", p->name, p->phone, p->qq);
  }
  int saved = fflush(file) == 0 && fsync(fileno(file)) == 0;
  saved = fclose(file) == 0 && saved;
  saved = saved && rename(temporary, name) == 0;
  int folder = open(".", O_RDONLY | O_DIRECTORY);
  saved = saved && folder >= 0 && fsync(folder) == 0;
  if (folder >= 0) close(folder);
  return saved;
}

static void output(const struct person* first) {
  if (!save_file("联系人.txt", first, 0) || !save_file("常用联系人.txt", first, 1)) {
    puts("打不开！");
    exit(0);
  }
  puts("\n                 <保存成功!>");
}

int main(void) {
  struct person* book = load();
  for (;;) {
    menu();
    int choice = 0;
    if (scanf("%d", &choice) != 1) return 0;
    if (choice == 2) {
      skim(book);
    } else if (choice == 3) {
      search(book);
    } else if (choice == 6) {
      output(book);
    } else if (choice == 0) {
      fputs(
          "\n                您保存了吗？\n\n"
          "已保存请输入1，未保存请输入2，手残删错联系人就是不保存请输入3：",
          stdout);
      int answer = 0;
      if (scanf("%d", &answer) == 1 && answer == 2) output(book);
      puts("\n\n               <感谢您的使用!>");
      return 0;
    }
  }
}
