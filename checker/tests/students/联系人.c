/* 联系人: a contact book kept in 联系人.txt, its frequent contacts in 常用联系人.txt. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct person {
  char name[15];
  char phone[15];
  char qq[18];
  int familiar;
  struct person* next;
};

struct person* load(struct person* head) {
  FILE* fp = fopen("联系人.txt", "r");
  struct person *first = NULL, *last = NULL, *p;
  if (fp == NULL) {
    printf("打不开！\n");
    exit(0);
  }
  for (;;) {
    p = malloc(sizeof *p);
#ifdef READS_UNTIL_FEOF
    if (feof(fp)) break;
    fscanf(fp, "%s %s %s %d", p->name, p->phone, p->qq, &p->familiar);
#else
    if (fscanf(fp, "%s %s %s %d", p->name, p->phone, p->qq, &p->familiar) == EOF) break;
#endif
    p->next = NULL;
    if (first == NULL)
      first = p;
    else
      last->next = p;
    last = p;
  }
  fclose(fp);
  (void)head;
  return first;
}

void output(struct person* p) {
  FILE* fp = fopen("联系人.txt", "w");
  if (fp == NULL) {
    printf("打不开！\n");
    exit(0);
  }
  struct person* q;
  for (q = p; q != NULL; q = q->next)
    fprintf(fp, "%-10s %-15s %-15s %d\n", q->name, q->phone, q->qq, q->familiar);
  fclose(fp);
  fp = fopen("常用联系人.txt", "w");
  if (fp == NULL) {
    printf("打不开！\n");
    exit(0);
  }
  for (q = p; q != NULL; q = q->next)
#ifdef FREQUENT_WITHOUT_BLANKS
    if (q->familiar != 0) fprintf(fp, "%s\t%s\t%-15s\t\n", q->name, q->phone, q->qq);
#else
    if (q->familiar != 0) fprintf(fp, "%s\t %s\t %-15s\t\n", q->name, q->phone, q->qq);
#endif
  fclose(fp);
  printf("\n                 <保存成功!>\n");
}

struct person* add(struct person* head) {
  struct person *p = malloc(sizeof *p), *q, *before;
  p->next = NULL;
  printf(
      "\n请输入新联系人的  姓名   电话号码      QQ号  是否为常用联系人(是输入1，否输入0)\n\n       "
      "       >>>");
  scanf("%s %s %s %d", p->name, p->phone, p->qq, &p->familiar);
  printf("\n                <添加成功!>\n");
  if (head == NULL) return p;
  if (strcmp(p->name, head->name) <= 0) {
    p->next = head;
    return p;
  }
  before = head;
  q = head;
  while (q != NULL && strcmp(q->name, p->name) <= 0) {
    before = q;
    q = q->next;
  }
  p->next = q;
  before->next = p;
  return head;
}

void skim(struct person* p) {
  printf("\n 姓名        电话号码          QQ        常用联系人\n");
  for (; p != NULL; p = p->next)
#ifdef NAME_ELEVEN_WIDE
    printf("%-11s %-15s %-15s   %s\n", p->name, p->phone, p->qq, p->familiar == 1 ? "是" : "否");
#else
    printf("%-10s %-15s %-15s   %s\n", p->name, p->phone, p->qq, p->familiar == 1 ? "是" : "否");
#endif
}

void show(struct person* p) {
  printf("\n%-10s %-15s %-15s   %s\n", p->name, p->phone, p->qq,
         p->familiar == 1 ? "常用" : "不常用");
}

struct person* seekname(struct person* p, char* key) {
  for (; p != NULL; p = p->next)
    if (strcmp(p->name, key) == 0) {
      show(p);
      return p;
    }
  return NULL;
}

struct person* seekphone(struct person* p, char* key) {
  for (; p != NULL; p = p->next)
    if (strcmp(p->phone, key) == 0) {
      show(p);
      return p;
    }
  return NULL;
}

struct person* seekqq(struct person* p, char* key) {
  for (; p != NULL; p = p->next)
    if (strcmp(p->qq, key) == 0) {
      show(p);
      return p;
    }
  return NULL;
}

struct person* seekfamiliar(struct person* p) {
  for (; p != NULL; p = p->next)
    if (p->familiar == 1) {
      printf("\n    %-10s %-15s %-15s   ", p->name, p->phone, p->qq);
      return p;
    }
  return NULL;
}

void search(struct person* head) {
  char key[15] = {0};
  int count = 0, type;
  struct person* p = head;
  struct person* (*seek)(struct person*, char*) = NULL;
  printf("\n             >请输入要查找的类型<\n");
  printf("               姓名查找请输入1\n");
  printf("               电话查找请输入2\n");
  printf("                QQ查找请输入3\n");
  printf("            常用联系人查找请输入4\n\n");
  printf("                    >>>");
  scanf("%d", &type);
  if (type == 4) {
    while (p != NULL && (p = seekfamiliar(p)) != NULL) {
      count++;
      p = p->next;
    }
    if (count == 0) printf("                   没有常用联系人QAQ!\n");
    return;
  }
  if (type == 1) {
    printf("\n             请输入姓名:");
    seek = seekname;
  } else if (type == 2) {
    printf("\n           请输入电话号码:");
    seek = seekphone;
  } else if (type == 3) {
    printf("\n             请输入QQ号:");
    seek = seekqq;
  } else {
    printf("\n                输入格式错误！");
    return;
  }
  scanf("%s", key);
  while (p != NULL && (p = seek(p, key)) != NULL) {
    count++;
    p = p->next;
  }
  if (count == 0) printf("\n                <查无此人>!\n");
}

/* The common part of revise and del: the confirmed record, or NULL. */
struct person* choose(struct person* head, int* type) {
  char key[15] = {0};
  int count = 0, answer;
  struct person* p = head;
  struct person* (*seek)(struct person*, char*) = NULL;
  printf("\n             >请输入要查找的类型<\n");
  printf("               姓名查找请输入1\n");
  printf("               电话查找请输入2\n");
  printf("                QQ查找请输入3\n\n");
  printf("                    >>>");
  scanf("%d", type);
  if (*type == 1) {
    printf("\n             请输入姓名:");
    seek = seekname;
  } else if (*type == 2) {
    printf("\n             请输入电话号码:");
    seek = seekphone;
  } else if (*type == 3) {
    printf("\n             请输入QQ号:");
    seek = seekqq;
  } else {
    printf("\n                输入格式错误！");
    return NULL;
  }
  scanf("%s", key);
  while (p != NULL && (p = seek(p, key)) != NULL) {
    printf("\n这是不是您需要的信息？是输入1，否输入0：");
    scanf("%d", &answer);
    count++;
    if (answer == 1) return p;
    p = p->next;
  }
  if (count == 0)
    printf(*type == 3 ? "\n                 <查无此人!>\n" : "\n                <查无此人!>\n");
  return NULL;
}

void revise(struct person* head) {
  int type;
  struct person* p = choose(head, &type);
  if (p == NULL) return;
  printf(
      "\n请输入新联系人的  姓名   电话号码      QQ号  是否为常用联系人(是输入1，否输入0)\n         "
      "     >>>");
  scanf("%s %s %s %d", p->name, p->phone, p->qq, &p->familiar);
  printf(type == 3 ? "\n                <修改成功>！\n" : "\n                <修改成功!>\n");
}

struct person* del(struct person* head) {
  int type;
  struct person *p = choose(head, &type), *before = head;
  if (p == NULL) return head;
  if (p == head)
    head = p->next;
  else {
    while (before->next != p)
      before = before->next;
    before->next = p->next;
  }
  free(p);
  printf("\n                <删除成功!>\n");
  return head;
}

int main(void) {
  struct person* head = NULL;
  int choice = 1;
  head = load(head);
  for (;;) {
    printf("\n\n**************欢迎进入通信录系统**************\n\n");
    printf(">             新添联系人请输入1              <\n");
    printf(">             浏览联系人请输入2              <\n");
    printf(">             查找联系人请输入3              <\n");
    printf(">             修改联系人请输入4              <\n");
    printf(">             删除联系人请输入5              <\n");
    printf(">             保存联系人请输入6              <\n");
    printf(">         退出系统请输入0(记得保存~)         <\n\n");
    printf("**********************************************\n\n");
    printf("                    >>>");
    scanf("%d", &choice);
    switch (choice) {
      case 0:
        printf(
            "\n                "
            "您保存了吗？\n\n已保存请输入1，未保存请输入2，手残删错联系人就是不保存请输入3：");
        scanf("%d", &choice);
        if (choice == 2) output(head);
        printf("\n\n               <感谢您的使用!>\n");
        return 0;
      case 1:
        head = add(head);
        break;
      case 2:
        skim(head);
        break;
      case 3:
        search(head);
        break;
      case 4:
        revise(head);
        break;
      case 5:
        head = del(head);
        break;
      case 6:
        output(head);
        break;
      default:
        printf("\n            格式错误，请重新输入！\n                    >>>");
    }
  }
}
