// Project: the settings of a documentation site, read from its project file
// (".scv"): the files in the order of their [files] lines, each given one of
// four kinds by its extension (text, source, HTML template, binary) that
// decides how the site treats it, and the values of the [main] section. The
// reader is strict: the [main] keys must stand in one fixed order, so a file
// written by another program or version is refused rather than half read.
//
// Walking the files (what the site pipeline reads):
//   for (ProjectFile* f = Project_firstFile(&p); f; f = ProjectFile_next(f))
//     f->kind->copy, f->kind->isTemplate, f->path, f->outPath,
//     f->rxmlFile, f->outlineDepth
// and p.firstPage.text (empty for none; else an absolute path to look up
// with Project_findFile).
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/ListX.h"
#include "runtime/StrX.h"
#include "runtime/Strv.h"
#include "runtime/TextCode.h"

struct RXML_File;  // the template reader's record of a file

inline constexpr char Project_kApplication[] = "Scrivolt";
inline constexpr int32_t Project_kVersion = 103;  // the lowest and highest accepted
// The line buffer of the reader: a longer [files] line is refused.
inline constexpr std::size_t Project_kLineSize = 256;
// Folders, the first page and file paths are made absolute in texts of this
// many bytes; a longer result raises StrX_Err_PathTooLong, never cut.
inline constexpr std::size_t Project_kJoinedPathMax = 255;

inline constexpr std::size_t FileKind_kNameSize = 64;  // 63 bytes and a NUL
inline constexpr std::size_t FileKind_kExtMax = 20;
inline constexpr std::size_t FileKind_kExtSize = 4;  // 3 bytes and a NUL
inline constexpr std::size_t FileKind_kMarkers = 4;
inline constexpr std::size_t FileKind_kMarkerSize = 8;  // 7 bytes and a NUL
inline constexpr char FileKind_kUnsetName[] = "（未設定）";

// The display names of the four kinds, in the order of the kind list.
inline constexpr char FileKind_kTextName[] = "テキストファイル";
inline constexpr char FileKind_kSourceName[] = "ソースファイル";
inline constexpr char FileKind_kHtmlName[] = "HTML ファイル, HTML テンプレート";
inline constexpr char FileKind_kBinaryName[] = "バイナリファイル";

struct FileKind {
  FileKind* next;
  char name[FileKind_kNameSize];
  char exts[FileKind_kExtMax][FileKind_kExtSize];  // compared without regard to case
  int32_t nExts;
  bool copy;        // files of this kind are copied unchanged
  bool isTemplate;  // files of this kind are HTML template documents
  // Title brackets "<<<", ">>>" and keyword brackets "[", "]" (text and
  // source kinds); empty for the others.
  char markers[FileKind_kMarkers][FileKind_kMarkerSize];
  bool lineNum;      // [main] LineNum
  bool commentOnly;  // [main] CommentOnly (source kind)
  bool funcLink;     // [main] FuncLink (source kind)
};

struct ProjectFile {
  ProjectFile* next;
  FileKind* kind;
  RXML_File* rxmlFile;           // null; the site pipeline keeps the file's template record here
  int32_t outlineDepth;          // 0; set by the analysis pass of the file
  char path[StrX_kPathSize];     // the source path, absolute
  char outPath[StrX_kPathSize];  // empty; set by the site pipeline
  int32_t spare;                 // 0
  TextCode code;                 // code page 932; the site pipeline reads the file's code
};

struct Project {
  ListX files;            // ProjectFile records in the order of the [files] section
  ListX kinds;            // FileKind records: text, source, HTML, binary
  FileKind* defaultKind;  // the binary kind, for every extension no kind claims
  Strv title;
  Strv firstPage;   // empty, or the absolute path of the site's first page
  Strv outFolder;   // as written
  Strv pervixPath;  // empty unless [main] Pervix is true
  Strv spare;       // stays empty
};

// A kind with no link, extensions, flags or markers, named FileKind_kUnsetName.
void FileKind_init(FileKind* kind);
// Adds an extension. More than FileKind_kExtMax extensions raise
// ArrX_Err_Full, one longer than 3 bytes Errors_Unofficial.
void FileKind_addExt(FileKind* kind, const char* ext);
// Whether ext is one of the kind's extensions, without regard to ASCII case.
bool FileKind_hasExt(const FileKind* kind, const char* ext);

// Empty lists and texts.
void Project_init(Project* project);
// Reads the project file at path into a project fresh from Project_init.
// Raises the reader's errors for every deviation from the layout (the
// project is then partly filled; Project_finish still frees it), and
// StrX_Err_PathTooLong for a path that does not fit.
void Project_read(Project* project, const char* path);
// Makes the file-name parts of all output paths distinct without regard to
// case: a later file whose name repeats an earlier one gets "(2)", "(3)", ...
// before its last extension ("x.c.htm" gives "x.c(2).htm", "x" gives
// "x(2)"). The reserved names (may be null when count is 0) act as files
// before the first one whose names never change, so no file keeps or gets
// one of them. An output path that would not fit raises StrX_Err_PathTooLong.
void Project_makeNamesUnique(Project* project, const char* const* reserved = nullptr,
                             std::size_t count = 0);
// The first file whose source path equals path without regard to case, or
// null.
ProjectFile* Project_findFile(const Project* project, const char* path);
// Frees the lists and texts.
void Project_finish(Project* project);

// The first file of the list, or null.
ProjectFile* Project_firstFile(const Project* project);
inline ProjectFile* ProjectFile_next(const ProjectFile* file) { return file->next; }
// The first kind of the list (text), or null before Project_read.
FileKind* Project_firstKind(const Project* project);
