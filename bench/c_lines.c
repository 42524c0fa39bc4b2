/* The floor of the line programs: a plain C program that reads standard
 * input line by line with getline and writes, with fwrite, the bytes given
 * in COURSEWORK_FLOOR_OUTPUT. With COURSEWORK_FLOOR_JOIN set, it then writes
 * every line it read without its line break, and one line break at the end:
 * the joined lines that 连接 writes. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(void) {
  const char* bytes = getenv("COURSEWORK_FLOOR_OUTPUT");
  if (bytes == NULL) return 2;
  int join = getenv("COURSEWORK_FLOOR_JOIN") != NULL;
  fwrite(bytes, 1, strlen(bytes), stdout);

  char* line = NULL;
  size_t size = 0;
  ssize_t length;
  while ((length = getline(&line, &size, stdin)) > 0) {
    if (line[length - 1] == '\n') --length;
    if (join) fwrite(line, 1, (size_t)length, stdout);
  }
  free(line);
  if (join) fwrite("\n", 1, 1, stdout);
  return fclose(stdout) == 0 ? 0 : 1;
}
