// SitePlan: where a site's files go. The site's own files are names no page
// may take, and a project whose output would overwrite one of its inputs is
// refused before anything is written.
#pragma once
#include <cstddef>
#include <string>

#include "engine/PageFiles.h"
#include "engine/Project.h"
#include "runtime/StrX.h"
#include "template/RXML.h"

// The work files that the pages share, in the order in which the run
// deletes them.
inline constexpr const char* SitePlan_kWorkNames[] = {
    PageFiles_kMiddle, PageFiles_kMain,  PageFiles_kSecond, PageFiles_kMajor,
    PageFiles_kTypes,  PageFiles_kFuncs, PageFiles_kMacros};
inline constexpr std::size_t SitePlan_kWorkCount =
    sizeof SitePlan_kWorkNames / sizeof SitePlan_kWorkNames[0];

struct SitePlan {
  char folder[StrX_kPathSize];
  char work[SitePlan_kWorkCount][StrX_kPathSize];
  char links[StrX_kPathSize];
  char bar[StrX_kPathSize];
  char list[StrX_kPathSize];
  char frame[StrX_kPathSize];
};

// The work folder beside the project file input and the site's own files.
void SitePlan_paths(SitePlan* plan, const char* input, const char* workFolder);
// Every file's page path (a source's name with ".htm" appended; documents
// and copied files keep their names), unique among the site's files, and
// the reader's record of every file that is not copied; then the refusal
// of a project whose output would overwrite an input.
void SitePlan_pages(const SitePlan& plan, Project* project, RXML* rxml, const char* projectPath);
// The name of the file's full outline in the work folder.
std::string SitePlan_outlineName(const ProjectFile* f);
// path relative to the folder of baseFile; a result that does not fit is
// refused (it would name another file).
std::string SitePlan_relative(const char* path, const char* baseFile);
