// A stand-in for the encoder where a fault must be forced: it reads its whole input, leaves a
// partial output file where it was told to write, writes three lines to its standard error with
// mixed line breaks, and exits with code 2.
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[]) {
  char buffer[65536];
  while (read(0, buffer, sizeof buffer) > 0) {
  }
  if (argc > 1) {
    if (std::FILE *out = std::fopen(argv[argc - 1], "wb")) {
      std::fputs("ID3", out);
      std::fclose(out);
    }
  }
  std::fputs("E1\r\nE2\rE3\n", stderr);
  return 2;
}
