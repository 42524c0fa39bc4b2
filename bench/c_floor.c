/* The floor of start-up: a plain C program that writes the bytes it is given
 * in COURSEWORK_FLOOR_OUTPUT to standard output with one write call and ends.
 * The benchmark runs it beside each program, giving it what that program
 * wrote, so the two differ only in how they come to those bytes. Beside a
 * program that saves a file, it also saves the file named in
 * COURSEWORK_FLOOR_FILE with the bytes of COURSEWORK_FLOOR_FILE_BYTES (in
 * hexadecimal): one write, synced to the disk, as a save must be. */
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int hex(char c) {
  return c <= '9' ? c - '0' : c - 'a' + 10;
}

static int save(const char* name, const char* text) {
  size_t length = strlen(text) / 2;
  char* bytes = malloc(length + 1);
  if (bytes == NULL) return 1;
  for (size_t i = 0; i < length; ++i)
    bytes[i] = (char)(hex(text[2 * i]) * 16 + hex(text[2 * i + 1]));
  int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  int failed = fd < 0 || write(fd, bytes, length) != (ssize_t)length || fsync(fd) != 0;
  failed = (fd >= 0 && close(fd) != 0) || failed;
  free(bytes);
  return failed;
}

int main(void) {
  const char* bytes = getenv("COURSEWORK_FLOOR_OUTPUT");
  if (bytes == NULL) return 2;
  size_t length = strlen(bytes);
  if (write(STDOUT_FILENO, bytes, length) != (ssize_t)length) return 1;
  const char* file = getenv("COURSEWORK_FLOOR_FILE");
  const char* file_bytes = getenv("COURSEWORK_FLOOR_FILE_BYTES");
  return file != NULL && file_bytes != NULL ? save(file, file_bytes) : 0;
}
