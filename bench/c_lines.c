/* The floor of the line programs: a plain C program that reads standard
 * input line by line with getline and writes, with fwrite, the bytes given
 * in COURSEWORK_FLOOR_OUTPUT. With COURSEWORK_FLOOR_JOIN set, it does what
 * 连接 does with the lines it read: keeps the first in its buffer, appends
 * the others to it there as 连接's copy does (it walks to the end of the
 * first, then copies a byte at a time), and writes it with one line break
 * at the end.
 * With COURSEWORK_FLOOR_COUNTS set to four numbers, it counts the letters,
 * blanks, digits and other bytes of the lines as 统计 does, a byte at a
 * time, and ends with status 1 unless it counted those numbers. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void copy(char* destination, const char* source) {
  size_t i = 0;
  while (destination[i] != '\0')
    ++i;
  for (size_t j = 0; source[j] != '\0'; ++i, ++j)
    destination[i] = source[j];
  destination[i] = '\0';
}

int main(void) {
  const char* bytes = getenv("COURSEWORK_FLOOR_OUTPUT");
  if (bytes == NULL) return 2;
  int join = getenv("COURSEWORK_FLOOR_JOIN") != NULL;
  const char* expected = getenv("COURSEWORK_FLOOR_COUNTS");
  long long counts[4] = {0, 0, 0, 0};
  fwrite(bytes, 1, strlen(bytes), stdout);

  char* line = NULL;
  size_t size = 0;
  char* joined = NULL;
  size_t joined_length = 0;
  ssize_t length;
  while ((length = getline(&line, &size, stdin)) > 0) {
    if (line[length - 1] == '\n') line[--length] = '\0';
    for (ssize_t i = 0; expected != NULL && i < length; ++i) {
      char c = line[i];
      if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        ++counts[0];
      else if (c == ' ')
        ++counts[1];
      else if (c >= '0' && c <= '9')
        ++counts[2];
      else
        ++counts[3];
    }
    if (!join) continue;
    if (joined == NULL) { /* the first line's buffer becomes the joined line's */
      joined = line;
      joined_length = (size_t)length;
      line = NULL;
      size = 0;
      continue;
    }
    char* grown = realloc(joined, joined_length + (size_t)length + 1);
    if (grown == NULL) return 1;
    joined = grown;
    copy(joined, line);
    joined_length += (size_t)length;
  }
  free(line);
  if (join) {
    if (joined_length > 0) fwrite(joined, 1, joined_length, stdout);
    fwrite("\n", 1, 1, stdout);
  }
  free(joined);
  if (expected != NULL) {
    char got[128];
    snprintf(got, sizeof got, "%lld %lld %lld %lld", counts[0], counts[1], counts[2], counts[3]);
    if (strcmp(got, expected) != 0) return 1;
  }
  return fclose(stdout) == 0 ? 0 : 1;
}
