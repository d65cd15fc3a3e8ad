// SourceHtml: the frame of a source page.
#include "app/SourceHtml.h"

#include <cstdio>
#include <string>

#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/TextCode.h"

namespace {

struct Section {
  const char* path;
  const char* link;
  const char* heading;
};

}  // namespace

void ScrivoApp_writeSourceHtml(const char* pagePath, const char* name,
                               const ScrivoApp_SourceParts& parts) {
  const Section sections[] = {
      {parts.major, "<A href=\"#idxA\">大目次</A>", "<H4><A name=\"idxA\">大目次</A></H4>\r\n<UL>\r\n"},
      {parts.outline, "<A href=\"#idx\">目次</A>", "<H4><A name=\"idx\">目次</A></H4>\r\n<UL>\r\n"},
      {parts.types, "<A href=\"#idxS\">型・クラス・構造体</A>",
       "<H4><A name=\"idxS\">型・クラス・構造体一覧</A></H4>\r\n\r\n<UL>\r\n"},
      {parts.funcs, "<A href=\"#idxF\">関数</A>",
       "<H4><A name=\"idxF\">関数一覧</A></H4>\r\n\r\n<UL>\r\n"},
      {parts.macros, "<A href=\"#idxM\">マクロ</A>",
       "<H4><A name=\"idxM\">マクロ一覧</A></H4>\r\n\r\n<UL>\r\n"},
  };
  bool filled[5];
  int nonEmpty = 0;
  for (int i = 0; i < 5; ++i) {
    filled[i] = FileX_getSize(sections[i].path) > 0;
    if (filled[i]) ++nonEmpty;
  }
  const std::string title = TextCode_forPage(name, TextCode::Cp932);  // a file name
  const bool utf8 = TextCode_page() == TextCode::Utf8;
  FileX_writeFile(pagePath, [&](std::FILE* page) {
        std::fprintf(page, "<HTML><HEAD>%s<TITLE>\r\n%s\r\n</TITLE>\r\n\r\n",
                     utf8 ? TextCode_kUtf8Meta : "", title.c_str());
        std::fprintf(page, "<BODY>\r\n\r\n<H3>%s</H3>\r\n\r\n", title.c_str());
        if (nonEmpty >= 2) {
          std::fputs("<P>\r\n[", page);
          bool first = true;
          for (int i = 0; i < 5; ++i) {
            if (!filled[i]) continue;
            if (!first) std::fputs(" | ", page);
            std::fputs(TextCode_text(sections[i].link), page);
            first = false;
          }
          std::fputs("]\r\n</P>\r\n\r\n", page);
        }
        for (int i = 0; i < 5; ++i) {
          if (!filled[i]) continue;
          std::fputs(TextCode_text(sections[i].heading), page);
          FileX_catFile(page, sections[i].path, 'b');
          std::fputs("</UL>\r\n\r\n", page);
        }
        std::fputs("\r\n<HR><PRE>\r\n", page);
        FileX_catFile(page, parts.listing, 'b');
        std::fputs("\r\n</PRE>\r\n</BODY></HTML>\r\n", page);
  });
}

void ScrivoApp_writeDocumentHtml(const char* pagePath, const char* first, const char* outline,
                                 const char* second) {
  if (FileX_getSize(second) > 0) {
    FileX_writeFile(pagePath, [&](std::FILE* page) {
      FileX_catFile(page, first, 'b');
      FileX_catFile(page, outline, 'b');
      FileX_catFile(page, second, 'b');
    });
  } else {
    FileX_copy(pagePath, first);
  }
}
