// StrXPath: path operations.
#include "runtime/StrXPath.h"

#include <cstring>

#include "platform/Os.h"

char* StrX_cpyAbsPath(char* dst, const char* path, std::size_t size) {
  char work[512];
  bool relative = path[0] != '\0' && path[0] != '/' && path[0] != '\\' && path[1] != ':';
  if (!relative) {
    StrX_cpy(dst, path, size);
    return dst;
  }
  char cwd[255];
  if (!Os_getcwd(cwd, sizeof cwd)) cwd[0] = '\0';
  std::size_t n = std::strlen(cwd);
  StrX_cpy(work, cwd, sizeof work);
  if (n == 0 || (cwd[n - 1] != '/' && cwd[n - 1] != '\\')) {
    char sep[2] = {Os_pathSep(), '\0'};
    std::strncat(work, sep, sizeof work - std::strlen(work) - 1);
  }
  std::strncat(work, path, sizeof work - std::strlen(work) - 1);
  StrX_cpy(dst, work, size);
  return dst;
}

char* StrX_refExt(const char* path) {
  const char* dot = std::strrchr(path, '.');
  return const_cast<char*>(dot ? dot + 1 : path + std::strlen(path));
}
