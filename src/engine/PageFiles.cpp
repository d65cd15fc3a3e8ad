// PageFiles: work paths that are never cut.
#include "engine/PageFiles.h"

#include <string>

#include "platform/Os.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "runtime/StrXPath.h"

namespace {

void refuse(const std::string& path) {
  Errors_raise("scrivo-app", __LINE__, StrX_Err_PathTooLong,
               StrX_Txt_PathTooLong, static_cast<int>(StrX_kPathSize - 1), path.c_str());
}

// The path a report names, joined as the path operations join it.
std::string joined(const char* folder, const char* name) {
  std::string s = folder;
  if (!s.empty() && s.back() != '/' && s.back() != '\\') s += Os_pathSep();
  return s + name;
}

}  // namespace

void PageFiles_workFolder(char* dst, const char* input, const char* folderName) {
  StrX_cpy(dst, folderName, StrX_kPathSize);
  if (!StrX_toAbsPathFromFile(dst, StrX_kPathSize, input)) {
    char folder[StrX_kPathSize * 2];
    StrX_cpy(folder, input, sizeof folder);
    StrX_cutFName(folder);
    refuse(joined(folder, folderName));
  }
}

void PageFiles_join(char* dst, const char* folder, const char* name) {
  StrX_cpy(dst, name, StrX_kPathSize);
  if (!StrX_toAbsPath(dst, StrX_kPathSize, folder)) refuse(joined(folder, name));
}

void PageFiles_pagePath(char* dst, const char* folder, const char* input) {
  PageFiles_join(dst, folder, StrX_refFName(input));
  if (!StrX_chgExt(dst, StrX_kPathSize, "htm"))
    refuse(joined(folder, StrX_refFName(input)) + ".htm");
}

void PageFiles_init(PageFiles* files, PageFiles_Kind kind, const char* source, bool expanded,
                    const char* folder, const char* page, const char* outlineName) {
  PageFiles& f = *files;
  f.kind = kind;
  f.source = source;
  f.expanded = expanded;
  StrX_cpy(f.folder, folder, sizeof f.folder);
  StrX_cpy(f.page, page, sizeof f.page);
  const bool isSource = kind == PageFiles_Kind::Source;
  f.middle[0] = f.second[0] = '\0';
  f.major[0] = f.types[0] = f.funcs[0] = f.macros[0] = '\0';
  if (!isSource || expanded) PageFiles_join(f.middle, folder, PageFiles_kMiddle);
  PageFiles_join(f.main, folder, PageFiles_kMain);
  if (!isSource) PageFiles_join(f.second, folder, PageFiles_kSecond);
  PageFiles_join(f.outline, folder, outlineName);
  if (isSource) {
    PageFiles_join(f.major, folder, PageFiles_kMajor);
    PageFiles_join(f.types, folder, PageFiles_kTypes);
    PageFiles_join(f.funcs, folder, PageFiles_kFuncs);
    PageFiles_join(f.macros, folder, PageFiles_kMacros);
  }
  PageFiles_join(f.links, folder, PageFiles_kLinks);
}

void PageFiles_removeWork(const PageFiles* files) {
  const PageFiles& f = *files;
  if (f.kind == PageFiles_Kind::Source) {
    const char* const work[] = {f.main, f.outline, f.major, f.types, f.funcs, f.macros, f.links};
    PageFiles_remove(work, sizeof work / sizeof work[0]);
  } else {
    const char* const work[] = {f.middle, f.main, f.second, f.outline, f.links};
    PageFiles_remove(work, sizeof work / sizeof work[0]);
  }
}

void PageFiles_remove(const char* const* paths, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) (void)FileX_remove(paths[i]);
}
