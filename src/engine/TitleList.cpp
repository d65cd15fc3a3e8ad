// TitleList: the site's page list.
#include "engine/TitleList.h"

#include <algorithm>
#include <cstring>

#include "lexer/BLex3Write.h"
#include "runtime/ByteClass.h"
#include "runtime/StrX.h"
#include "runtime/StrXPath.h"

namespace {

bool lessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return ByteClass_lower(static_cast<unsigned char>(x)) <
               ByteClass_lower(static_cast<unsigned char>(y));
      });
}

void setTitle(TitleList* list, BLex3* lexer, BLex3_Pos from, BLex3_Pos to) {
  if (list->entries.empty()) return;
  char text[TitleList_kTitleSize];
  BLex3_copyRange(lexer, from, to, text, sizeof text);
  list->entries.back().title = text;
  list->found = true;
}

}  // namespace

void TitleList_init(TitleList* list) { *list = TitleList{}; }

void TitleList_addPage(TitleList* list, const char* source, HtmlTagP* tags,
                       TitleFinder* finder, const char* page) {
  TitleEntry e;
  e.source = source;
  e.fileName = StrX_refFName(source);
  e.page = page;
  e.code = TextCode_current();
  list->entries.push_back(e);
  list->found = false;
  list->titleStart = {-1, 0};
  list->tags = tags;
  list->finder = finder;
}

void TitleList_stepText(TitleList* list) {
  if (list->found || list->finder == nullptr) return;
  TitleFinder* f = list->finder;
  if (TitleFinder_event(f) == TitleFinder_kTitleStart)
    setTitle(list, f->lexer, f->textStart, f->textEnd);
}

void TitleList_stepTemplate(TitleList* list) {
  if (list->found || list->tags == nullptr) return;
  HtmlTagP* t = list->tags;
  int32_t state = HtmlTagP_getState(t);
  if (state == HtmlTagP_kEnd && std::strcmp(t->name, "title") == 0) {
    BLex3_getPos(t->lexer, &list->titleStart);
  } else if (state == HtmlTagP_kStart && std::strcmp(t->name, "/title") == 0 &&
             list->titleStart.offset >= 0) {
    BLex3_Pos here;
    BLex3_getPos(t->lexer, &here);
    setTitle(list, t->lexer, list->titleStart, here);
  }
}

void TitleList_write(TitleList* list, std::FILE* out, const char* listPage) {
  std::vector<TitleEntry> sorted = list->entries;
  std::stable_sort(sorted.begin(), sorted.end(), [](const TitleEntry& a, const TitleEntry& b) {
    return lessNoCase(a.fileName, b.fileName);
  });
  std::fputs("<UL>\r\n", out);
  for (const TitleEntry& e : sorted) {
    char rel[StrX_kPathSize];
    StrX_cpy(rel, e.page.c_str(), sizeof rel);
    // Pages and their list share the work folder: the relative name is shorter.
    (void)StrX_toRelPathFromFile(rel, sizeof rel, listPage);
    // In a page of the other code, names and titles are converted.
    std::fprintf(out, "<LI><A href=\"%s\" target=\"main\"><B>%s</B>",
                 TextCode_forPage(rel, list->pathCode).c_str(),
                 TextCode_forPage(e.fileName.c_str(), list->pathCode).c_str());
    if (!e.title.empty())
      std::fprintf(out, " : %s", TextCode_forPage(e.title.c_str(), e.code).c_str());
    std::fputs("</A>\r\n", out);
  }
  std::fputs("</UL>\r\n", out);
}

void TitleList_finish(TitleList* list) { list->entries.clear(); }
