// SiteFrame: the navigation bar, the page list and the frame page.
#include "app/SiteFrame.h"

#include <cstdio>
#include <string>

#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "runtime/TextCode.h"

namespace {

// Where the navigation bar's tooltip sends the reader for the search tool.
constexpr char kSearchToolUrl[] = "https://scrivo.example/pervix/";

// The start of a site page without a head of its own; a UTF-8 page gets
// one for its declaration.
void writeBodyStart(std::FILE* out) {
  if (TextCode_page() == TextCode::Utf8)
    std::fprintf(out, "<HTML><HEAD>%s</HEAD><BODY>\r\n\r\n", TextCode_kUtf8Meta);
  else
    std::fputs("<HTML><BODY>\r\n\r\n", out);
}

void writeNavigationBar(const SitePlan& s) {
  const std::string search = TextCode_forPage(SitePlan_relative(s.links, s.frame).c_str(),
                                              TextCode::Cp932);
  FileX_writeFile(s.bar, [&](std::FILE* out) {
    writeBodyStart(out);
    std::fputs(TextCode_text("[<SPAN title=\"トップページに戻ります。\">\r\n"), out);
    std::fputs(TextCode_text("<A href=\"index.html\" target=_top>トップ</A></SPAN>,\r\n"), out);
    std::fprintf(out,
                 TextCode_text("<SPAN title=\"キーワード検索をします。ただし、Pervix が必要です。"
                               "ダウンロードは、%s からできます。\">\r\n"),
                 kSearchToolUrl);
    std::fprintf(out, TextCode_text("<A href=\"%s\">検索</A></SPAN>,\r\n"), search.c_str());
    std::fputs(
        TextCode_text("<SPAN title=\"ドキュメント・フォルダを表示します。（Internet Explorer のみ）\">\r\n"),
        out);
    std::fputs(TextCode_text("<A href=\"..\" target=\"main\">フォルダ</A></SPAN>]<BR>\r\n"), out);
    std::fputs("</BODY></HTML>\r\n", out);
  });
}

void writePageList(const SitePlan& s, TitleList* pages) {
  FileX_writeFile(s.list, [&](std::FILE* out) {
    writeBodyStart(out);
    TitleList_write(pages, out, s.list);
    std::fputs("</BODY></HTML>\r\n", out);
  });
}

// The page of the main frame: the project's first page, or the page list
// when there is none or it names no file of the project (said on the sink).
std::string firstPage(const Project* project, const SitePlan& s, PrintX* sink) {
  const char* first = project->firstPage.text;
  if (first != nullptr && first[0] != '\0') {
    if (const ProjectFile* f = Project_findFile(project, first))
      return SitePlan_relative(f->outPath, s.frame);
    if (sink != nullptr) PrintX_printf(sink, ScrivoApp_Txt_FirstPageNotFound, first);
  }
  return SitePlan_relative(s.list, s.frame);
}

void writeFramePage(const Project* project, const SitePlan& s, PrintX* sink) {
  const std::string bar = SitePlan_relative(s.bar, s.frame);
  const std::string list = SitePlan_relative(s.list, s.frame);
  const std::string main = firstPage(project, s, sink);
  FileX_writeFile(s.frame, [&](std::FILE* out) {
    std::fprintf(out, "<HTML><HEAD>%s<TITLE>\r\nScrivolt\r\n</TITLE></HEAD>\r\n",
                 TextCode_page() == TextCode::Utf8 ? TextCode_kUtf8Meta : "");
    std::fputs("<FRAMESET cols=\"190,*\">\r\n", out);
    std::fputs("  <FRAMESET rows=\"38,*\" frameborder=no>\r\n", out);
    std::fprintf(out, "    <FRAME src=\"%s\" scrolling=no>\r\n", bar.c_str());
    std::fprintf(out, "    <FRAME src=\"%s\">\r\n", list.c_str());
    std::fputs("  </FRAMESET>\r\n", out);
    std::fprintf(out, "  <FRAME src=\"%s\" name=\"main\">\r\n", main.c_str());
    std::fputs("</FRAMESET>\r\n</HTML>\r\n", out);
  });
}

}  // namespace

void SiteFrame_write(const SitePlan& plan, const Project* project, TitleList* pages,
                     PrintX* sink) {
  writeNavigationBar(plan);
  writePageList(plan, pages);
  writeFramePage(project, plan, sink);
}
