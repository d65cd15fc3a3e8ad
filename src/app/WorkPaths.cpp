// WorkPaths: output paths that are never cut.
#include "app/WorkPaths.h"

#include <string>

#include "platform/Os.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "runtime/StrXPath.h"

namespace {

void refuse(const std::string& path) {
  Errors_raise("scrivo-app", __LINE__, StrX_Err_PathTooLong, "StrX_Err_PathTooLong",
               StrX_Txt_PathTooLong, static_cast<int>(StrX_kPathSize - 1), path.c_str());
}

// The path a report names, joined as the path operations join it.
std::string joined(const char* folder, const char* name) {
  std::string s = folder;
  if (!s.empty() && s.back() != '/' && s.back() != '\\') s += Os_pathSep();
  return s + name;
}

}  // namespace

void ScrivoApp_workFolder(char* dst, const char* input, const char* folderName) {
  StrX_cpy(dst, folderName, StrX_kPathSize);
  if (!StrX_toAbsPathFromFile(dst, StrX_kPathSize, input)) {
    char folder[StrX_kPathSize * 2];
    StrX_cpy(folder, input, sizeof folder);
    StrX_cutFName(folder);
    refuse(joined(folder, folderName));
  }
}

void ScrivoApp_joinPath(char* dst, const char* folder, const char* name) {
  StrX_cpy(dst, name, StrX_kPathSize);
  if (!StrX_toAbsPath(dst, StrX_kPathSize, folder)) refuse(joined(folder, name));
}

void ScrivoApp_pagePath(char* dst, const char* folder, const char* input) {
  ScrivoApp_joinPath(dst, folder, StrX_refFName(input));
  if (!StrX_chgExt(dst, StrX_kPathSize, "htm"))
    refuse(joined(folder, StrX_refFName(input)) + ".htm");
}

void ScrivoApp_removeFiles(const char* const* paths, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) (void)FileX_remove(paths[i]);
}
