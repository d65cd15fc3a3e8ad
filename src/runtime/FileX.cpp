// FileX: file utilities.
#include "runtime/FileX.h"

#include <cstring>

#include "platform/Os.h"
#include "runtime/Errors.h"
#include "runtime/StrX.h"

namespace {
constexpr char kModule[] = "filex";
}

std::FILE* FileX_open(const char* path, const char* mode) {
  std::FILE* f = std::fopen(path, mode);
  if (f != nullptr) return f;
  if (std::strchr(mode, 'w') != nullptr) {
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWriteOpen, "FileX_Err_CannotWriteOpen",
                 FileX_Txt_CannotWrite, path);
  } else {
    char cwd[StrX_kPathSize];
    if (!Os_getcwd(cwd, sizeof cwd)) cwd[0] = '\0';
    Errors_raise(kModule, __LINE__, FileX_Err_CannotReadOpen, "FileX_Err_CannotReadOpen",
                 FileX_Txt_NotFound, path, cwd);
  }
  return nullptr;
}
