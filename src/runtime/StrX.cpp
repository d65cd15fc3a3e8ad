// StrX: strings.
#include "runtime/StrX.h"

#include <cstring>


void StrX_cpy(char* dst, const char* src, std::size_t size) {
  if (size == 0) return;
  std::size_t n = std::strlen(src);
  if (n > size - 1) n = size - 1;
  std::memmove(dst, src, n);
  dst[n] = '\0';
}
