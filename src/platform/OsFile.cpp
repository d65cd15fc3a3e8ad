// OsFile parts that the C library serves alike on every platform.
#include "platform/OsFile.h"

#include <cstdio>

bool OsFile_append(const char* path, const void* bytes, std::size_t n) {
  std::FILE* f = std::fopen(path, "ab+");
  if (f == nullptr) return false;
  std::fwrite(bytes, 1, n, f);
  std::fclose(f);
  return true;
}
