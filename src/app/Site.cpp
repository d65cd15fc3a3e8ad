// The project pipeline: a project file becomes a frame-based site in the
// work folder beside it. Every file is analysed before any page is written
// (step 1 fills one links file, step 2 reads the template structure, step 3
// writes the pages with the links file loaded as keyword table), so that
// every page can link to what any other page defines. The site's own files
// are names no page may take, and a project whose output would overwrite
// one of its inputs is refused before anything is written.
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/Pipelines.h"
#include "app/SourceHtml.h"
#include "app/WorkPaths.h"
#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/Project.h"
#include "engine/SourcePasses.h"
#include "engine/TitleList.h"
#include "lexer/BracketP.h"
#include "platform/Os.h"
#include "platform/OsFile.h"
#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/StrXPath.h"
#include "runtime/StrX_Set.h"
#include "runtime/TextCode.h"
#include "template/RXML.h"
#include "template/TemplatePasses.h"

namespace {

constexpr char kModule[] = "scrivo-app";

// Where the navigation bar's tooltip sends the reader for the search tool.
constexpr char kSearchToolUrl[] = "https://scrivo.example/pervix/";

constexpr char kFrameName[] = "index.html";
constexpr char kBarName[] = "index0.htm";
constexpr char kListName[] = "index2.htm";
constexpr char kLinksName[] = "_out.kwf";
constexpr char kOutlinePrefix[] = "_outIdx-";
constexpr char kOutlineSuffix[] = ".txt";
constexpr char kPageExt[] = ".htm";

// The work files, in the order in which the run deletes them.
constexpr const char* kWorkNames[] = {"_middle.txt",  "_outMain.txt", "_outMain2.txt",
                                      "_outIdxA.txt", "_outIdxS.txt", "_outIdxF.txt",
                                      "_outIdxM.txt"};
constexpr std::size_t kWorkCount = sizeof kWorkNames / sizeof kWorkNames[0];
enum Work { kMiddle, kFirst, kSecond, kMajor, kTypes, kFuncs, kMacros };

struct SitePaths {
  char folder[StrX_kPathSize];
  char work[kWorkCount][StrX_kPathSize];
  char links[StrX_kPathSize];
  char bar[StrX_kPathSize];
  char list[StrX_kPathSize];
  char frame[StrX_kPathSize];
};

void buildPaths(SitePaths* s, const char* input, const char* workFolder) {
  ScrivoApp_workFolder(s->folder, input, workFolder);
  for (std::size_t i = 0; i < kWorkCount; ++i)
    ScrivoApp_joinPath(s->work[i], s->folder, kWorkNames[i]);
  ScrivoApp_joinPath(s->links, s->folder, kLinksName);
  ScrivoApp_joinPath(s->bar, s->folder, kBarName);
  ScrivoApp_joinPath(s->list, s->folder, kListName);
  ScrivoApp_joinPath(s->frame, s->folder, kFrameName);
}

void report(ScrivoApp_Progress* progress, int32_t step, int32_t value, const std::string& text,
            int32_t index, int32_t count) {
  if (progress != nullptr && progress->func != nullptr)
    progress->func(progress->user, step, value, text.c_str(), index, count);
}

// path relative to the folder of baseFile; a result that does not fit is
// refused (it would name another file).
std::string relativeTo(const char* path, const char* baseFile) {
  char rel[StrX_kPathSize];
  StrX_cpy(rel, path, sizeof rel);
  if (!StrX_toRelPathFromFile(rel, sizeof rel, baseFile))
    Errors_raise(kModule, __LINE__, StrX_Err_PathTooLong, "StrX_Err_PathTooLong",
                 StrX_Txt_PathTooLong, static_cast<int>(StrX_kPathSize - 1), path);
  return rel;
}

// The text of a progress line: a path relative to the work folder, cut when
// it does not fit (it is only shown).
std::string shownPath(const char* path, const SitePaths& s) {
  char rel[StrX_kPathSize];
  StrX_cpy(rel, path, sizeof rel);
  (void)StrX_toRelPathFromFile(rel, sizeof rel, s.links);
  return rel;
}

bool isPage(const ProjectFile* f) { return !f->kind->copy && !f->kind->isTemplate; }

bool endsWithNoCase(const std::string& text, const char* tail) {
  const std::size_t n = std::char_traits<char>::length(tail);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(text[text.size() - n + i]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    if (c != static_cast<unsigned char>(tail[i])) return false;
  }
  return true;
}

// The file's full outline: named after its page, without the ".htm" that
// made a source's name a page name (main.c.htm gives _outIdx-main.c.txt), so
// that two sources of one name never share an outline.
std::string outlineName(const ProjectFile* f) {
  std::string name = StrX_refFName(f->outPath);
  if (isPage(f) && endsWithNoCase(name, kPageExt)) name.resize(name.size() - 4);
  return kOutlinePrefix + name + kOutlineSuffix;
}

// Page paths: a source's page is its name with ".htm" appended; documents
// and copied files keep their names. Every file that is not copied gets its
// record in the template reader.
void setPagePaths(Project* project, RXML* rxml, const char* folder) {
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f)) {
    std::string name = StrX_refFName(f->path);
    if (!f->kind->copy) {
      f->rxmlFile = RXML_addFile(rxml, f->path);
      if (!f->kind->isTemplate) name += kPageExt;
    }
    ScrivoApp_joinPath(f->outPath, folder, name.c_str());
  }
}

// No page may take the name of one of the site's own files.
void makePageNamesUnique(Project* project) {
  std::vector<std::string> names = {kFrameName, kBarName, kListName, kLinksName};
  names.insert(names.end(), kWorkNames, kWorkNames + kWorkCount);
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f))
    if (!f->kind->copy) names.push_back(outlineName(f));
  std::vector<const char*> reserved;
  for (const std::string& n : names) reserved.push_back(n.c_str());
  Project_makeNamesUnique(project, reserved.data(), reserved.size());
}

unsigned char lowerAscii(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}
bool isSep(unsigned char c) { return c == '/' || c == '\\'; }

// Whether path lies in folder or below it, without regard to ASCII case or
// to which of the two separators is written.
bool liesIn(const char* path, const char* folder) {
  std::size_t i = 0;
  while (folder[i] != '\0') {
    const unsigned char a = static_cast<unsigned char>(path[i]);
    const unsigned char b = static_cast<unsigned char>(folder[i]);
    if (TextCode_isLead(b) && folder[i + 1] != '\0') {
      const std::size_t k = TextCode_charLen(folder + i);
      if (std::strncmp(path + i, folder + i, k) != 0) return false;
      i += k;
      continue;
    }
    if (!(a == b || lowerAscii(a) == lowerAscii(b) || (isSep(a) && isSep(b)))) return false;
    ++i;
  }
  return isSep(static_cast<unsigned char>(path[i])) ||
         (i > 0 && isSep(static_cast<unsigned char>(folder[i - 1])));
}

void refuseOverwrite(int line, const char* input, const char* output) {
  Errors_raise(kModule, line, ScrivoApp_Err_OverwritesInput, "ScrivoApp_Err_OverwritesInput",
               ScrivoApp_Txt_OverwritesInput, input, output);
}

void refuseInputInWorkFolder(int line, const char* input, const char* folder) {
  Errors_raise(kModule, line, ScrivoApp_Err_OverwritesInput, "ScrivoApp_Err_OverwritesInput",
               ScrivoApp_Txt_InputInWorkFolder, input, folder);
}

// Whether the folder that holds path is the work folder itself, reached
// by another name (a link to it, or the work folder a link to the source's
// folder).
bool inWorkFolderByLink(const char* path, const char* folder) {
  char holder[StrX_kPathSize];
  StrX_cpyFolder(holder, path, sizeof holder);
  return holder[0] != '\0' && OsFile_isSameFile(holder, folder);
}

// The run writes and deletes files in the work folder only: a file of the
// project there could be overwritten or deleted by a page, a copy or a work
// file, and a page or copy that is its own source (the work folder being a
// link to the source's folder) would destroy it. Through such a link an
// output could also be the project file itself.
void refuseOverwrites(const Project* project, const char* projectPath, const SitePaths& s) {
  std::vector<std::string> outputs = {s.links, s.bar, s.list, s.frame};
  outputs.insert(outputs.end(), s.work, s.work + kWorkCount);
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f)) {
    if (liesIn(f->path, s.folder)) {
      refuseInputInWorkFolder(__LINE__, f->path, s.folder);
      return;
    }
    if (OsFile_isSameFile(f->outPath, f->path)) refuseOverwrite(__LINE__, f->path, f->outPath);
    if (inWorkFolderByLink(f->path, s.folder)) {
      refuseInputInWorkFolder(__LINE__, f->path, s.folder);
      return;
    }
    outputs.emplace_back(f->outPath);
    if (!f->kind->copy) {
      char outline[StrX_kPathSize];
      ScrivoApp_joinPath(outline, s.folder, outlineName(f).c_str());
      outputs.emplace_back(outline);
    }
  }
  for (const std::string& out : outputs) {
    if (OsFile_isSameFile(out.c_str(), projectPath))
      refuseOverwrite(__LINE__, projectPath, out.c_str());
  }
}

// An HTML document's page: the expanded text as it is, or with the heading
// index put in at its "embed_index" tag.
void writeDocumentPage(const ProjectFile* f, const SitePaths& s, const char* outline,
                       LinksIndex* keywords, TitleList* pages) {
  Scrivo_writeMiddle(f->rxmlFile, s.work[kMiddle]);
  Scrivo_embedIndex(f->path, f->outPath, s.work[kMiddle], s.work[kFirst], s.work[kSecond],
                    outline, keywords, pages);
  ScrivoApp_writeDocumentHtml(f->outPath, s.work[kFirst], outline, s.work[kSecond]);
}

void writeSourcePage(const ProjectFile* f, const SitePaths& s, const char* outline,
                     LinksIndex* keywords, TitleList* pages) {
  Scrivo_writeMiddle(f->rxmlFile, s.work[kMiddle]);
  Scrivo_writeSourcePage(f->path, f->outPath, s.work[kMiddle], s.work[kFirst], s.work[kMajor],
                         f->outlineDepth, s.work[kTypes], s.work[kFuncs], s.work[kMacros],
                         keywords, pages);
  ScrivoApp_writeSourceHtml(f->outPath, StrX_refFName(f->path),
                            {s.work[kFirst], s.work[kMajor], outline, s.work[kTypes],
                             s.work[kFuncs], s.work[kMacros]});
}

// The start of a site page without a head of its own; a UTF-8 page gets
// one for its declaration.
void writeBodyStart(std::FILE* out) {
  if (TextCode_page() == TextCode::Utf8)
    std::fprintf(out, "<HTML><HEAD>%s</HEAD><BODY>\r\n\r\n", TextCode_kUtf8Meta);
  else
    std::fputs("<HTML><BODY>\r\n\r\n", out);
}

void writeNavigationBar(const SitePaths& s) {
  const std::string search = TextCode_forPage(relativeTo(s.links, s.frame).c_str(),
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

void writePageList(const SitePaths& s, TitleList* pages) {
  FileX_writeFile(s.list, [&](std::FILE* out) {
    writeBodyStart(out);
    TitleList_write(pages, out, s.list);
    std::fputs("</BODY></HTML>\r\n", out);
  });
}

// The page of the main frame: the project's first page, or the page list
// when there is none or it names no file of the project (said on the sink).
std::string firstPage(const Project* project, const SitePaths& s, PrintX* sink) {
  const char* first = project->firstPage.text;
  if (first != nullptr && first[0] != '\0') {
    if (const ProjectFile* f = Project_findFile(project, first))
      return relativeTo(f->outPath, s.frame);
    if (sink != nullptr) PrintX_printf(sink, ScrivoApp_Txt_FirstPageNotFound, first);
  }
  return relativeTo(s.list, s.frame);
}

void writeFramePage(const Project* project, const SitePaths& s, PrintX* sink) {
  const std::string bar = relativeTo(s.bar, s.frame);
  const std::string list = relativeTo(s.list, s.frame);
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

int32_t countFiles(const Project* project, bool (*counts)(const ProjectFile*)) {
  int32_t n = 0;
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f))
    if (counts(f)) ++n;
  return n;
}

bool isRead(const ProjectFile* f) { return !f->kind->copy; }
bool isAny(const ProjectFile*) { return true; }

// Step 1: the analysis pass of every source and the reference pass of every
// file that is read, all into the one links file.
void analyzeAll(Project* project, const SitePaths& s, LinksFile* links,
                ScrivoApp_Progress* progress) {
  const int32_t n = countFiles(project, isRead);
  int32_t i = 0;
  BracketP_Errors errors;
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f)) {
    if (!isRead(f)) continue;
    ++i;
    report(progress, 1, 1666 + (3333 - 1666) * i / n, shownPath(f->path, s), i, n);
    f->code = TextCode_ofFile(f->path);
    TextCode_Scope code(f->code, f->code);
    LinksFile_setPage(links, relativeTo(f->outPath, s.links).c_str());
    if (!f->kind->isTemplate) {
      char outline[StrX_kPathSize];
      ScrivoApp_joinPath(outline, s.folder, outlineName(f).c_str());
      BracketP_Errors_clear(&errors);
      Scrivo_analyzeSource(f->path, links, outline, &f->outlineDepth, &errors);
      char warnings[BracketP_kFormatSize];
      if (BracketP_Errors_format(&errors, warnings, sizeof warnings) != 0) {
        const std::string text = std::string("\n") + warnings;
        Os_consoleWrite(1, text.data(), text.size());
      }
    }
    Scrivo_scanTemplates(f->path, f->rxmlFile, links);
  }
}

// Step 2: the element trees of every file the template reader knows, each
// in its code: a project file's was read in step 1, another one's is read
// here.
void scanAllUses(const Project* project, RXML* rxml, const SitePaths& s,
                 ScrivoApp_Progress* progress) {
  std::unordered_map<const RXML_File*, TextCode> codes;
  for (const ProjectFile* f = Project_firstFile(project); f != nullptr; f = f->next)
    if (f->rxmlFile != nullptr) codes.emplace(f->rxmlFile, f->code);
  const int32_t n = static_cast<int32_t>(RXML_getFileCount(rxml));
  int32_t i = 0;
  for (RXML_File* r = rxml->firstFile; r != nullptr; r = r->next) {
    ++i;
    report(progress, 2, 3333 + (5000 - 3333) * i / n, shownPath(r->path, s), i, n);
    if (!r->exists) continue;
    const auto known = codes.find(r);
    TextCode_Scope code(known != codes.end() ? known->second : TextCode_ofFile(r->path),
                        TextCode_page());
    Scrivo_scanTemplateUses(r);
  }
}

// Step 3: every page and copy.
void writeAll(Project* project, const SitePaths& s, LinksIndex* keywords, TitleList* pages,
              ScrivoApp_Progress* progress) {
  const int32_t n = countFiles(project, isAny);
  int32_t i = 0;
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f)) {
    ++i;
    report(progress, 3, 5000 + (10000 - 5000) * i / n, shownPath(f->path, s), i, n);
    if (f->kind->copy) {
      FileX_copy(f->outPath, f->path);
      continue;
    }
    char outline[StrX_kPathSize];
    ScrivoApp_joinPath(outline, s.folder, outlineName(f).c_str());
    TextCode_Scope code(f->code, f->code);
    if (f->kind->isTemplate)
      writeDocumentPage(f, s, outline, keywords, pages);
    else
      writeSourcePage(f, s, outline, keywords, pages);
    (void)FileX_remove(outline);
  }
}

}  // namespace

void ScrivoApp_makeSite(const char* input, const char* workFolder, char* result,
                        ScrivoApp_Progress* progress, PrintX* sink) {
  SitePaths s;
  Project project;
  StrX_Set names;
  RXML rxml;
  LinksFile links;
  LinksIndex keywords;
  TitleList pages;
  bool projectUp = false, namesUp = false, rxmlUp = false, linksOpen = false;
  bool keywordsOpen = false, pagesUp = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        report(progress, 0, 833, "", 0, 0);
        // Names taken from the project file are read in its code.
        const TextCode projectCode = TextCode_ofFile(input);
        TextCode_Scope code(projectCode, TextCode::Cp932);
        Project_init(&project);
        projectUp = true;
        Project_read(&project, input);

        buildPaths(&s, input, workFolder);
        StrX_cpy(result, s.frame, StrX_kPathSize);

        StrX_Set_init(&names, StrX_Set_kWidth, StrX_getHashI, false);
        namesUp = true;
        RXML_init(&rxml, sink, &names);
        rxmlUp = true;
        setPagePaths(&project, &rxml, s.folder);
        makePageNamesUnique(&project);
        // Checked before the work folder is made: a refused project leaves
        // no trace.
        refuseOverwrites(&project, input, s);
        FileX_makeFolders(s.folder, false);

        LinksFile_open(&links, s.links);
        linksOpen = true;
        LinksFile_writeHeader(&links, LinksFile_kBase);
        analyzeAll(&project, s, &links, progress);
        linksOpen = false;
        LinksFile_close(&links);

        scanAllUses(&project, &rxml, s, progress);

        // The site's own pages are UTF-8 when a file of it is.
        TextCode siteCode = projectCode;
        for (const ProjectFile* f = Project_firstFile(&project); f != nullptr; f = f->next)
          if (f->code == TextCode::Utf8) siteCode = TextCode::Utf8;
        {
          TextCode_Scope keywordCode(siteCode, siteCode);
          LinksIndex_open(&keywords, s.links);
          keywordsOpen = true;
        }
        TitleList_init(&pages);
        pages.pathCode = projectCode;
        pagesUp = true;
        writeAll(&project, s, &keywords, &pages, progress);

        TextCode_Scope siteScope(siteCode, siteCode);
        writeNavigationBar(s);
        writePageList(s, &pages);
        writeFramePage(&project, s, sink);
        for (const char* work : s.work) (void)FileX_remove(work);
      },
      [&] {
        if (pagesUp) TitleList_finish(&pages);
        if (linksOpen) LinksFile_close(&links);
        if (keywordsOpen) LinksIndex_close(&keywords);
        if (rxmlUp) RXML_finish(&rxml);
        if (namesUp) StrX_Set_finish(&names);
        if (projectUp) Project_finish(&project);
      });
}
