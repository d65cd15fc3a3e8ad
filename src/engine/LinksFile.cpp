// LinksFile: the links file writer.
#include "engine/LinksFile.h"

#include <cstring>
#include <ctime>
#include <string>

#include "platform/Os.h"
#include "runtime/TextCode.h"

namespace {

void addEntry(LinksFile* file, const std::string& target, const char* name, const char* second) {
  IniFile_Write_attr(&file->writer, "A", "sss", name, second, target.c_str());
}

}  // namespace

void LinksFile_open(LinksFile* file, const char* path) {
  file->page[0] = '\0';
  IniFile_Write_open(&file->writer, path);
}

void LinksFile_writeHeader(LinksFile* file, const char* base) {
  IniFile_Write* w = &file->writer;
  const std::time_t now = std::time(nullptr);
  IniFile_Write_setSection(w, "main");
  IniFile_Write_attr(w, "Application", "s", LinksFile_kApplication);
  IniFile_Write_attr(w, "Version", "i", LinksFile_kVersion);
  IniFile_Write_attr(w, "bNewFile", "i", int32_t{0});
  IniFile_Write_attr(w, "Base", "s", base);
  IniFile_Write_attr(w, "Update", "t", &now);
  IniFile_Write_attr(w, "bCanUpdate", "i", int32_t{0});
  IniFile_Write_attr(w, "DispURL", "s", LinksFile_kDispURL);
  IniFile_Write_attr(w, "DispTarget", "s", LinksFile_kDispTarget);
  IniFile_Write_setSection(w, "links");
}

void LinksFile_setPage(LinksFile* file, const char* page) {
  // Cut whole characters only: half a character would make the reference
  // name a page that does not exist.
  std::size_t n = 0;
  const std::size_t cap = sizeof file->page - 1;
  for (std::size_t k; page[n] != '\0'; n += k) {
    k = TextCode_charLen(page + n);
    if (n + k > cap) break;
  }
  std::memcpy(file->page, page, n);
  file->page[n] = '\0';
}

void LinksFile_add(LinksFile* file, const char* anchor, const char* name, const char* second) {
  std::string target = file->page;
  if (anchor[0] != '\0') (target += '#') += anchor;
  addEntry(file, target, name, second);
}

void LinksFile_addDef(LinksFile* file, const char* kind, int32_t number, const char* name,
                      const char* second) {
  std::string target = file->page;
  if (kind[0] != '\0') ((target += '#') += kind) += std::to_string(number);
  addEntry(file, target, name, second);
}

void LinksFile_close(LinksFile* file) { IniFile_Write_close(&file->writer); }
