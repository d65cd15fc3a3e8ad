// SitePlan: page names and the overwrite policy.
#include "app/SitePlan.h"

#include <cstring>
#include <vector>

#include "platform/OsFile.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"

namespace {

constexpr char kModule[] = "scrivo-app";

constexpr char kFrameName[] = "index.html";
constexpr char kBarName[] = "index0.htm";
constexpr char kListName[] = "index2.htm";
constexpr char kOutlinePrefix[] = "_outIdx-";
constexpr char kOutlineSuffix[] = ".txt";
constexpr char kPageExt[] = ".htm";

bool isPage(const ProjectFile* f) { return !f->kind->copy && !f->kind->isTemplate; }

bool endsWithNoCase(const std::string& text, const char* tail) {
  const std::size_t n = std::char_traits<char>::length(tail);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[text.size() - n + i]);
    if (ByteClass_lower(c) != static_cast<unsigned char>(tail[i])) return false;
  }
  return true;
}

// Page paths: every file that is not copied gets its record in the
// template reader.
void setPagePaths(Project* project, RXML* rxml, const char* folder) {
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f)) {
    std::string name = StrX_refFName(f->path);
    if (!f->kind->copy) {
      f->rxmlFile = RXML_addFile(rxml, f->path);
      if (!f->kind->isTemplate) name += kPageExt;
    }
    PageFiles_join(f->outPath, folder, name.c_str());
  }
}

// No page may take the name of one of the site's own files.
void makePageNamesUnique(Project* project) {
  std::vector<std::string> names = {kFrameName, kBarName, kListName, PageFiles_kLinks};
  names.insert(names.end(), SitePlan_kWorkNames, SitePlan_kWorkNames + SitePlan_kWorkCount);
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = ProjectFile_next(f))
    if (!f->kind->copy) names.push_back(SitePlan_outlineName(f));
  std::vector<const char*> reserved;
  for (const std::string& n : names) reserved.push_back(n.c_str());
  Project_makeNamesUnique(project, reserved.data(), reserved.size());
}

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
    if (!(a == b || ByteClass_lower(a) == ByteClass_lower(b) || (ByteClass_isSep(a) && ByteClass_isSep(b)))) return false;
    ++i;
  }
  return ByteClass_isSep(static_cast<unsigned char>(path[i])) ||
         (i > 0 && ByteClass_isSep(static_cast<unsigned char>(folder[i - 1])));
}

void refuseOverwrite(int line, const char* input, const char* output) {
  Errors_raise(kModule, line, ScrivoApp_Err_OverwritesInput,
               ScrivoApp_Txt_OverwritesInput, input, output);
}

void refuseInputInWorkFolder(int line, const char* input, const char* folder) {
  Errors_raise(kModule, line, ScrivoApp_Err_OverwritesInput,
               ScrivoApp_Txt_InputInWorkFolder, input, folder);
}

// Whether the folder that holds path is the work folder itself, reached
// by another name (a link to it, or the work folder a link to the source's
// folder).
bool inWorkFolderByLink(const char* path, const char* folder) {
  char holder[StrX_kPathSize];
  (void)StrX_cpyFolder(holder, path, sizeof holder);  // the folder of a path that fits fits
  return holder[0] != '\0' && OsFile_isSameFile(holder, folder);
}

// The run writes and deletes files in the work folder only: a file of the
// project there could be overwritten or deleted by a page, a copy or a work
// file, and a page or copy that is its own source (the work folder being a
// link to the source's folder) would destroy it. Through such a link an
// output could also be the project file itself.
void refuseOverwrites(const Project* project, const char* projectPath, const SitePlan& s) {
  std::vector<std::string> outputs = {s.links, s.bar, s.list, s.frame};
  outputs.insert(outputs.end(), s.work, s.work + SitePlan_kWorkCount);
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
      PageFiles_join(outline, s.folder, SitePlan_outlineName(f).c_str());
      outputs.emplace_back(outline);
    }
  }
  for (const std::string& out : outputs) {
    if (OsFile_isSameFile(out.c_str(), projectPath))
      refuseOverwrite(__LINE__, projectPath, out.c_str());
  }
}

}  // namespace

void SitePlan_paths(SitePlan* s, const char* input, const char* workFolder) {
  PageFiles_workFolder(s->folder, input, workFolder);
  for (std::size_t i = 0; i < SitePlan_kWorkCount; ++i)
    PageFiles_join(s->work[i], s->folder, SitePlan_kWorkNames[i]);
  PageFiles_join(s->links, s->folder, PageFiles_kLinks);
  PageFiles_join(s->bar, s->folder, kBarName);
  PageFiles_join(s->list, s->folder, kListName);
  PageFiles_join(s->frame, s->folder, kFrameName);
}

void SitePlan_pages(const SitePlan& plan, Project* project, RXML* rxml,
                    const char* projectPath) {
  setPagePaths(project, rxml, plan.folder);
  makePageNamesUnique(project);
  refuseOverwrites(project, projectPath, plan);
}

// The file's full outline: named after its page, without the ".htm" that
// made a source's name a page name (main.c.htm gives _outIdx-main.c.txt), so
// that two sources of one name never share an outline.
std::string SitePlan_outlineName(const ProjectFile* f) {
  std::string name = StrX_refFName(f->outPath);
  if (isPage(f) && endsWithNoCase(name, kPageExt)) name.resize(name.size() - 4);
  return kOutlinePrefix + name + kOutlineSuffix;
}

std::string SitePlan_relative(const char* path, const char* baseFile) {
  char rel[StrX_kPathSize];
  StrX_cpy(rel, path, sizeof rel);
  if (!StrX_toRelPathFromFile(rel, sizeof rel, baseFile))
    Errors_raise(kModule, __LINE__, StrX_Err_PathTooLong,
                 StrX_Txt_PathTooLong, static_cast<int>(StrX_kPathSize - 1), path);
  return rel;
}
