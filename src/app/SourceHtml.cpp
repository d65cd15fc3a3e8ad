// SourceHtml: the frame of a source page.
#include "app/SourceHtml.h"

#include <cstdio>
#include <string>

#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"

namespace {

struct Section {
  const char* path;
  const char* link;
  const char* heading;
};

}  // namespace

void ScrivoApp_writeSourceHtml(const PageFiles& files) {
  const Section sections[] = {
      {files.major, "<A href=\"#idxA\">大目次</A>", "<H4><A name=\"idxA\">大目次</A></H4>\r\n<UL>\r\n"},
      {files.outline, "<A href=\"#idx\">目次</A>", "<H4><A name=\"idx\">目次</A></H4>\r\n<UL>\r\n"},
      {files.types, "<A href=\"#idxS\">型・クラス・構造体</A>",
       "<H4><A name=\"idxS\">型・クラス・構造体一覧</A></H4>\r\n\r\n<UL>\r\n"},
      {files.funcs, "<A href=\"#idxF\">関数</A>",
       "<H4><A name=\"idxF\">関数一覧</A></H4>\r\n\r\n<UL>\r\n"},
      {files.macros, "<A href=\"#idxM\">マクロ</A>",
       "<H4><A name=\"idxM\">マクロ一覧</A></H4>\r\n\r\n<UL>\r\n"},
  };
  bool filled[5];
  int nonEmpty = 0;
  for (int i = 0; i < 5; ++i) {
    filled[i] = FileX_getSize(sections[i].path) > 0;
    if (filled[i]) ++nonEmpty;
  }
  // The source's file name.
  const std::string title = TextCode_forPage(StrX_refFName(files.source), TextCode::Cp932);
  const bool utf8 = TextCode_page() == TextCode::Utf8;
  FileX_writeFile(files.page, [&](std::FILE* page) {
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
        FileX_catFile(page, files.main, 'b');
        std::fputs("\r\n</PRE>\r\n</BODY></HTML>\r\n", page);
  });
}

void ScrivoApp_writeDocumentHtml(const PageFiles& files) {
  if (FileX_getSize(files.second) > 0) {
    FileX_writeFile(files.page, [&](std::FILE* page) {
      FileX_catFile(page, files.main, 'b');
      FileX_catFile(page, files.outline, 'b');
      FileX_catFile(page, files.second, 'b');
    });
  } else {
    FileX_copy(files.page, files.main);
  }
}
