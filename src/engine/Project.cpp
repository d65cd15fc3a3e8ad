// Project: reading a project file, the file kinds, distinct output names.
#include "engine/Project.h"

#include <array>
#include <set>
#include <unordered_map>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Os.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"
#include "settings/IniFileRead.h"

namespace {

constexpr char kModule[] = "scrivo";
constexpr std::size_t kFileNext = offsetof(ProjectFile, next);
constexpr std::size_t kKindNext = offsetof(FileKind, next);
constexpr std::size_t kJoinedSize = Project_kJoinedPathMax + 1;

// Equal without regard to ASCII case. A double-byte character is compared
// exactly, so a trail byte in "A"-"Z" never matches its lower-case twin.
bool equalsNoCase(const char* a, const char* b) {
  for (;;) {
    unsigned char x = static_cast<unsigned char>(*a);
    unsigned char y = static_cast<unsigned char>(*b);
    if (TextCode_isLead(x) && a[1] != '\0') {
      const std::size_t k = TextCode_charLen(a);
      if (std::strncmp(a, b, k) != 0) return false;
      a += k;
      b += k;
      continue;
    }
    if (ByteClass_lower(x) != ByteClass_lower(y)) return false;
    if (x == '\0') return true;
    ++a;
    ++b;
  }
}

void raisePathTooLong(int line, std::size_t max, const char* path) {
  Errors_raise(kModule, line, StrX_Err_PathTooLong, StrX_Txt_PathTooLong,
               static_cast<int>(max), path);
}

// value made absolute against base into out (StrX_kPathSize bytes). A
// result longer than Project_kJoinedPathMax is refused: cut, it would name
// another file.
void joinPath(char* out, const char* value, const char* base) {
  char work[StrX_kAbsWorkSize];
  StrX_cpy(work, value, sizeof work);
  bool fitted = StrX_toAbsPath(work, sizeof work, base);
  if (!fitted || std::strlen(work) >= kJoinedSize) {
    raisePathTooLong(__LINE__, Project_kJoinedPathMax, work);
    out[0] = '\0';
    return;
  }
  StrX_cpy(out, work, StrX_kPathSize);
}

FileKind* addKind(Project* project, const char* name) {
  auto* kind = static_cast<FileKind*>(
      ListX_insertMalloc(&project->kinds, nullptr, kKindNext, sizeof(FileKind)));
  if (kind == nullptr) return nullptr;
  FileKind_init(kind);
  StrX_cpy(kind->name, name, sizeof kind->name);
  return kind;
}

void setTextMarkers(FileKind* kind) {
  static const char* const kMarkers[FileKind_kMarkers] = {"<<<", ">>>", "[", "]"};
  for (std::size_t i = 0; i < FileKind_kMarkers; ++i)
    StrX_cpy(kind->markers[i], kMarkers[i], sizeof kind->markers[i]);
}

// The [main] values that go into the kinds, which are made after [files].
struct KindFlags {
  bool lineNum = false;
  bool funcLink = false;
  bool commentOnly = false;
};

void makeKinds(Project* project, const KindFlags& flags) {
  FileKind* text = addKind(project, FileKind_kTextName);
  FileKind* source = addKind(project, FileKind_kSourceName);
  FileKind* html = addKind(project, FileKind_kHtmlName);
  FileKind* binary = addKind(project, FileKind_kBinaryName);
  if (text == nullptr || source == nullptr || html == nullptr || binary == nullptr) return;

  FileKind_addExt(text, "txt");
  setTextMarkers(text);
  text->lineNum = flags.lineNum;

  for (const char* ext : {"c", "cpp", "h", "hpp", "jav"}) FileKind_addExt(source, ext);
  setTextMarkers(source);
  source->lineNum = flags.lineNum;
  source->commentOnly = flags.commentOnly;
  source->funcLink = flags.funcLink;

  FileKind_addExt(html, "htm");
  FileKind_addExt(html, "hmt");
  html->isTemplate = true;

  binary->copy = true;
  project->defaultKind = binary;
}

FileKind* kindOf(const Project* project, const char* path) {
  const char* ext = StrX_refExt(path);
  for (FileKind* k = Project_firstKind(project); k != nullptr; k = k->next) {
    if (k != project->defaultKind && FileKind_hasExt(k, ext)) return k;
  }
  return project->defaultKind;
}

// The [main] section, in its one order of keys.
void readMain(Project* project, IniFile_Read* r, const char* projectFolder, KindFlags* flags) {
  char text[IniFile_kStrMaxDefault];
  bool unused = false;
  int32_t unusedNum = 0;

  IniFile_Read_setSection(r, "main");
  IniFile_Read_checkApp(r, Project_kApplication, Project_kVersion, Project_kVersion);
  IniFile_Read_attr(r, "Index", "b", &unused);
  IniFile_Read_attr(r, "LineNum", "b", &flags->lineNum);
  IniFile_Read_attr(r, "Link", "b", &unused);
  IniFile_Read_attr(r, "Title", "s", text);
  Strv_cpy(&project->title, text);

  IniFile_Read_attr(r, "FirstPage", "s", text);
  if (std::strcmp(text, ".") == 0) {
    Strv_cpy(&project->firstPage, "");
  } else {
    char page[StrX_kPathSize];
    joinPath(page, text, projectFolder);
    Strv_cpy(&project->firstPage, page);
  }

  IniFile_Read_attr(r, "StepPath", "b", &unused);
  bool pervix = false;
  IniFile_Read_attr(r, "Pervix", "b", &pervix);
  IniFile_Read_attr(r, "PervixPath", "s", text);
  Strv_cpy(&project->pervixPath, pervix ? text : "");
  IniFile_Read_attr(r, "OutFolder", "s", text);
  Strv_cpy(&project->outFolder, text);
  IniFile_Read_attr(r, "FuncLink", "b", &flags->funcLink);
  IniFile_Read_attr(r, "CommentOnly", "b", &flags->commentOnly);
  IniFile_Read_attr(r, "NonPre", "b", &unused);
  IniFile_Read_attr(r, "ElemNum", "i", &unusedNum);
}

// The [files] section: "Folder" lines set the folder that the other lines'
// paths are relative to. Lines before the first "Folder" line are relative
// to the project file's folder.
void readFiles(Project* project, IniFile_Read* r, const char* projectFolder) {
  char folder[StrX_kPathSize];
  StrX_cpy(folder, projectFolder, sizeof folder);
  char key[Project_kLineSize];
  char value[IniFile_kStrMaxDefault];

  IniFile_Read_setSection(r, "files");
  while (IniFile_Read_next(r, key, sizeof key, "s", value) >= 0) {
    if (IniFile_Read_lineWasCut(r)) {
      raisePathTooLong(__LINE__, Project_kLineSize - 1, value);
      return;
    }
    if (std::strcmp(key, "Folder") == 0) {
      // An empty folder is the project file's own, as "." is.
      joinPath(folder, value[0] != '\0' ? value : ".", projectFolder);
      continue;
    }
    char path[StrX_kPathSize];
    joinPath(path, value, folder);
    auto* file = static_cast<ProjectFile*>(
        ListX_insertMalloc(&project->files, nullptr, kFileNext, sizeof(ProjectFile)));
    if (file == nullptr) return;
    StrX_cpy(file->path, path, sizeof file->path);
  }
}

// Where the file-name part of path begins: after the last "\\" or "/" that
// is not a trail byte.
std::size_t fileNameStart(const char* path) {
  const char* back = StrX_chrLast(path, '\\');
  const char* slash = StrX_chrLast(path, '/');
  const char* sep = back == nullptr || (slash != nullptr && slash > back) ? slash : back;
  return sep == nullptr ? 0 : static_cast<std::size_t>(sep + 1 - path);
}

// name with "(k)" before its last extension, or at its end.
std::string numberedName(const std::string& name, int k) {
  const char* dot = StrX_chrLast(name.c_str(), '.');
  std::size_t at = dot == nullptr ? name.size() : static_cast<std::size_t>(dot - name.c_str());
  return name.substr(0, at) + "(" + std::to_string(k) + ")" + name.substr(at);
}

// The form in which names are compared: ASCII letters folded to lower case,
// a double-byte character kept as it is, so that two names are equal here
// exactly when equalsNoCase finds them equal.
std::string folded(const std::string& name) {
  std::string out = name;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (TextCode_isLead(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
      i += TextCode_charLenIn(out.data() + i, out.size() - i) - 1;
      continue;
    }
    out[i] = static_cast<char>(ByteClass_lower(static_cast<unsigned char>(out[i])));
  }
  return out;
}

// The names of the files, with who holds each (compared as folded) and,
// per name, the lowest number that may still be free: every number below
// it is taken. A taken name is never freed (a file is renamed only because
// an earlier file holds its name, and that one keeps it), so a hint never
// has to go down.
class NameTable {
 public:
  explicit NameTable(const std::vector<std::string>& names) : names_(names) {
    for (std::size_t i = 0; i < names_.size(); ++i) holders_[folded(names_[i])].insert(i);
  }

  // The first holder after index from of the name that i holds, or none
  // (names_.size()).
  std::size_t nextHolder(std::size_t i, std::size_t from) const {
    const std::set<std::size_t>& set = holders_.at(folded(names_[i]));
    auto it = set.upper_bound(from);
    return it == set.end() ? names_.size() : *it;
  }

  // The first numbered form of i's name that no file holds (i's own name is
  // none of them, so i never blocks one).
  std::string freeNumbered(std::size_t i) {
    const std::string base = folded(names_[i]);
    int& k = hints_.emplace(base, 2).first->second;
    while (holders_.count(numberedName(base, k)) != 0) ++k;
    return numberedName(names_[i], k);
  }

  void rename(std::size_t i, const std::string& name) {
    holders_[folded(names_[i])].erase(i);
    names_[i] = name;
    holders_[folded(name)].insert(i);
  }

 private:
  std::vector<std::string> names_;
  std::unordered_map<std::string, std::set<std::size_t>> holders_;
  std::unordered_map<std::string, int> hints_;
};

std::array<Strv*, 5> texts(Project* p) {
  return {&p->title, &p->firstPage, &p->outFolder, &p->pervixPath, &p->spare};
}

}  // namespace

void FileKind_init(FileKind* kind) {
  std::memset(kind, 0, sizeof *kind);
  StrX_cpy(kind->name, FileKind_kUnsetName, sizeof kind->name);
}

void FileKind_addExt(FileKind* kind, const char* ext) {
  if (kind->nExts < 0 || static_cast<std::size_t>(kind->nExts) >= FileKind_kExtMax) {
    Errors_raise(kModule, __LINE__, ArrX_Err_Full, "%s", ArrX_Txt_BufFull);
  }
  if (std::strlen(ext) >= FileKind_kExtSize) {
    Errors_raise(kModule, __LINE__, Errors_Unofficial, "%s", Errors_Txt_Error);
  }
  StrX_cpy(kind->exts[kind->nExts++], ext, FileKind_kExtSize);
}

bool FileKind_hasExt(const FileKind* kind, const char* ext) {
  for (int32_t i = 0; i < kind->nExts; ++i) {
    if (equalsNoCase(kind->exts[i], ext)) return true;
  }
  return false;
}

void Project_init(Project* project) {
  ListX_init(&project->files);
  ListX_init(&project->kinds);
  project->defaultKind = nullptr;
  // All null first, so that Project_finish is safe after a failed init.
  for (Strv* s : texts(project)) s->text = nullptr;
  for (Strv* s : texts(project)) Strv_init(s);
}

void Project_read(Project* project, const char* path) {
  char projectFolder[StrX_kPathSize];
  (void)StrX_cpyFolder(projectFolder, path, sizeof projectFolder);  // path fits, so its folder does

  char line[Project_kLineSize];
  IniFile_Read reader;  // closed by its destructor when a read raises
  IniFile_Read_open(&reader, path, line, sizeof line);
  KindFlags flags;
  readMain(project, &reader, projectFolder, &flags);
  readFiles(project, &reader, projectFolder);
  makeKinds(project, flags);
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = f->next)
    f->kind = kindOf(project, f->path);
  IniFile_Read_close(&reader);
}

void Project_makeNamesUnique(Project* project, const char* const* reserved, std::size_t count) {
  // The reserved names stand first, as files whose names never change.
  std::vector<ProjectFile*> files;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i) names.emplace_back(reserved[i]);
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = f->next) {
    files.push_back(f);
    names.emplace_back(f->outPath + fileNameStart(f->outPath));
  }

  // Each file a in order renames every later file b that holds its name, b
  // in order, to the first numbered form of that name no other file holds.
  // A renamed b holds a name of its own from then on. Looking holders and
  // free numbers up keeps this near linear where comparing every pair and
  // trying every number grew with the cube of a repeated name's count.
  NameTable table(names);
  for (std::size_t a = 0; a < names.size(); ++a) {
    const std::size_t from = a + 1 > count ? a : count - 1;
    for (std::size_t b = table.nextHolder(a, from); b < names.size(); b = table.nextHolder(a, from)) {
      const std::string candidate = table.freeNumbered(b);
      ProjectFile* file = files[b - count];
      std::string renamed = std::string(file->outPath, fileNameStart(file->outPath)) + candidate;
      if (renamed.size() >= sizeof file->outPath) {
        raisePathTooLong(__LINE__, sizeof file->outPath - 1, renamed.c_str());
        return;
      }
      StrX_cpy(file->outPath, renamed.c_str(), sizeof file->outPath);
      table.rename(b, candidate);
    }
  }
}

ProjectFile* Project_findFile(const Project* project, const char* path) {
  for (ProjectFile* f = Project_firstFile(project); f != nullptr; f = f->next) {
    if (equalsNoCase(f->path, path)) return f;
  }
  return nullptr;
}

void Project_finish(Project* project) {
  ListX_finish(&project->files, kFileNext, nullptr);
  ListX_finish(&project->kinds, kKindNext, nullptr);
  project->defaultKind = nullptr;
  for (Strv* s : texts(project)) Strv_finish(s);
}

ProjectFile* Project_firstFile(const Project* project) {
  return static_cast<ProjectFile*>(project->files.head);
}

FileKind* Project_firstKind(const Project* project) {
  return static_cast<FileKind*>(project->kinds.head);
}
