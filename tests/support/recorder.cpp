// Stands in for the web browser in the end-to-end tests: appends each
// argument it was started with, and a line feed, to the file named by the
// environment variable SCRIVO_RECORD.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const char* record = std::getenv("SCRIVO_RECORD");
  if (record == nullptr) return 2;
  std::FILE* f = std::fopen(record, "ab");
  if (f == nullptr) return 2;
  for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
  std::fclose(f);
  return 0;
}
