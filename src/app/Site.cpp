// The project pipeline: a project file becomes a frame-based site in the
// work folder beside it. Every file is analysed before any page is written
// (step 1 fills one links file, step 2 reads the template structure, step 3
// writes the pages with the links file loaded as keyword table), so that
// every page can link to what any other page defines. The progress line
// shows each step's files as it goes.
#include <string>
#include <unordered_map>

#include "app/Pipelines.h"
#include "app/SiteFrame.h"
#include "app/SitePlan.h"
#include "app/SourceHtml.h"
#include "engine/Project.h"
#include "engine/TitleList.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"
#include "template/DocJob.h"
#include "template/TemplatePasses.h"

namespace {

constexpr char kModule[] = "scrivo-app";

// The project, read and finished with the run.
struct OpenProject {
  Project project;
  OpenProject() { Project_init(&project); }
  OpenProject(const OpenProject&) = delete;
  OpenProject& operator=(const OpenProject&) = delete;
  ~OpenProject() {
    Except3_release([&] { Project_finish(&project); });
  }
};

// The page list that the writing step fills.
struct PageList {
  TitleList pages;
  explicit PageList(TextCode pathCode) {
    TitleList_init(&pages);
    pages.pathCode = pathCode;
  }
  PageList(const PageList&) = delete;
  PageList& operator=(const PageList&) = delete;
  ~PageList() {
    Except3_release([&] { TitleList_finish(&pages); });
  }
};

void report(ScrivoApp_Progress* progress, int32_t step, int32_t value, const std::string& text,
            int32_t index, int32_t count) {
  if (progress != nullptr && progress->func != nullptr)
    progress->func(progress->user, step, value, text.c_str(), index, count);
}

// The text of a progress line: a path relative to the work folder, cut when
// it does not fit (it is only shown).
std::string shownPath(const char* path, const SitePlan& s) {
  char rel[StrX_kPathSize];
  StrX_cpy(rel, path, sizeof rel);
  (void)StrX_toRelPathFromFile(rel, sizeof rel, s.links);
  return rel;
}

int32_t countFiles(const Project* project, bool (*counts)(const ProjectFile*)) {
  int32_t n = 0;
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f))
    if (counts(f)) ++n;
  return n;
}

bool isRead(const ProjectFile* f) { return !f->kind->copy; }
bool isAny(const ProjectFile*) { return true; }

void chooseJob(DocJob* job, const ProjectFile* f, const SitePlan& s) {
  DocJob_forSiteFile(job, f->kind->isTemplate, f->path, s.folder, f->outPath,
                     SitePlan_outlineName(f).c_str(), f->rxmlFile);
  job->depth = f->outlineDepth;
}

// Step 1: the analysis pass of every source and the reference pass of every
// file that is read, all into the one links file.
void analyzeAll(Project* project, const SitePlan& s, DocJob_Links* links,
                ScrivoApp_Progress* progress) {
  const int32_t n = countFiles(project, isRead);
  int32_t i = 0;
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f)) {
    if (!isRead(f)) continue;
    ++i;
    report(progress, 1, 1666 + (3333 - 1666) * i / n, shownPath(f->path, s), i, n);
    f->code = TextCode_ofFile(f->path);
    TextCode_Scope code(f->code, f->code);
    const std::string page = SitePlan_relative(f->outPath, s.links);
    DocJob job;
    chooseJob(&job, f, s);
    DocJob_analyze(links, &job, page.c_str());
    f->outlineDepth = job.depth;
  }
}

// Step 2: the element trees of every file the template reader knows, each
// in its code: a project file's was read in step 1, another one's is read
// here.
void scanAllUses(const Project* project, RXML* rxml, const SitePlan& s,
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
void writeAll(Project* project, const SitePlan& s, DocJob_Links* links, TitleList* pages,
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
    DocJob job;
    chooseJob(&job, f, s);
    TextCode_Scope code(f->code, f->code);
    DocJob_write(links, &job, pages);
    if (f->kind->isTemplate)
      ScrivoApp_writeDocumentHtml(job.files);
    else
      ScrivoApp_writeSourceHtml(job.files);
    (void)FileX_remove(job.files.outline);
  }
}

}  // namespace

void ScrivoApp_makeSite(const char* input, const char* workFolder, char* result,
                        ScrivoApp_Progress* progress, PrintX* sink) {
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        report(progress, 0, 833, "", 0, 0);
        // Names taken from the project file are read in its code.
        const TextCode projectCode = TextCode_ofFile(input);
        TextCode_Scope code(projectCode, TextCode::Cp932);
        OpenProject open;
        Project* project = &open.project;
        Project_read(project, input);

        SitePlan s;
        SitePlan_paths(&s, input, workFolder);
        StrX_cpy(result, s.frame, StrX_kPathSize);

        DocJob_Reader reader(sink);
        // Checked before the work folder is made: a refused project leaves
        // no trace.
        SitePlan_pages(s, project, &reader.rxml, input);
        FileX_makeFolders(s.folder, false);

        DocJob_Links links;
        DocJob_openLinks(&links, s.links);
        analyzeAll(project, s, &links, progress);
        DocJob_closeLinks(&links);

        scanAllUses(project, &reader.rxml, s, progress);

        // The site's own pages are UTF-8 when a file of it is.
        TextCode siteCode = projectCode;
        for (const ProjectFile* f = Project_firstFile(project); f != nullptr; f = f->next)
          if (f->code == TextCode::Utf8) siteCode = TextCode::Utf8;
        {
          TextCode_Scope keywordCode(siteCode, siteCode);
          DocJob_loadKeywords(&links, s.links);
        }
        PageList list(projectCode);
        writeAll(project, s, &links, &list.pages, progress);

        TextCode_Scope siteScope(siteCode, siteCode);
        SiteFrame_write(s, project, &list.pages, sink);
        for (const char* work : s.work) (void)FileX_remove(work);
      },
      [] {});
}
