// Fuzz target: the sectioned settings reader over the input, read three
// ways: as a project file (Project_read), as a links file (LinksIndex_open,
// then LinksIndex_find over fixed texts and over the input's own lines),
// and line by line with IniFile_Read_next, each position it returned then
// read again with IniFile_Read_attrAt.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "engine/LinksIndex.h"
#include "engine/Project.h"
#include "settings/IniFileRead.h"

namespace {

// Texts a page might hold: single words, phrases, a lead byte at the end.
const char* const kTexts[] = {
    "main", "compute", "Widget Factory", "a b c d", "_x1 y", "\x95\x5c", "\x95",
    "abc\x81", "[x]", "x", "", "Intro chapter one", "struct", "\x82\xa0\x82\xa2"};

// Finds at the start of every byte of the first lines of the input.
void findInLines(LinksIndex* index, const uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size < 2048 ? size : 2048);
  for (char& c : text)
    if (c == '\0') c = ' ';
  char target[StrX_kPathSize];
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (LinksIndex_mayStart(index, text.c_str() + i))
      (void)LinksIndex_find(index, text.c_str() + i, target, sizeof target);
  }
}

void readAsProject(const std::string& path) {
  Project project;
  Project_init(&project);
  Fuzz_run(
      [&] {
        TextCode_Scope scope(TextCode_ofFile(path.c_str()), TextCode::Cp932);
        Project_read(&project, path.c_str());
        for (ProjectFile* f = Project_firstFile(&project); f; f = ProjectFile_next(f))
          StrX_cpy(f->outPath, f->path, sizeof f->outPath);
        const char* const reserved[] = {"index.html", "index0.htm", "index2.htm"};
        Project_makeNamesUnique(&project, reserved, 3);
        if (project.firstPage.text != nullptr && project.firstPage.text[0] != '\0')
          (void)Project_findFile(&project, project.firstPage.text);
      },
      [&] { Project_finish(&project); });
}

void readAsLinks(const std::string& path, const uint8_t* data, std::size_t size) {
  LinksIndex index;
  Fuzz_run(
      [&] {
        // A links file of a site with UTF-8 files is read in UTF-8: its
        // names are split in the code each one shows.
        TextCode_Scope scope(TextCode_ofFile(path.c_str()), TextCode::Cp932);
        LinksIndex_open(&index, path.c_str());
        char target[StrX_kPathSize];
        for (const char* t : kTexts) (void)LinksIndex_find(&index, t, target, sizeof target);
        char tiny[4];
        (void)LinksIndex_find(&index, "main", tiny, sizeof tiny);
        findInLines(&index, data, size);
      },
      [&] { LinksIndex_close(&index); });
}

void readLineByLine(const std::string& path) {
  char line[256];
  IniFile_Read reader;
  Fuzz_run(
      [&] {
        IniFile_Read_open(&reader, path.c_str(), line, sizeof line);
        char key[64];
        char text[IniFile_kStrMaxDefault];
        int32_t number = 0;
        bool flag = false;
        std::vector<IniFile_Pos> positions;
        // Free keys up to each header, then on behind the header.
        for (int sections = 0; sections < 64; ++sections) {
          IniFile_Pos pos;
          while ((pos = IniFile_Read_next(&reader, key, sizeof key, "sib", text, &number,
                                          &flag)) >= 0 &&
                 positions.size() < 256)
            positions.push_back(pos);
          if (std::fgets(line, sizeof line, reader.file) == nullptr) break;
        }
        for (IniFile_Pos pos : positions) {
          std::time_t when = 0;
          IniFile_Read_attrAt(&reader, pos, "-sSIt", text, text, &number, &when);
        }
      },
      [&] { IniFile_Read_close(&reader); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Fuzz_clearDir();
  const std::string project = Fuzz_path("site.scv");
  const std::string links = Fuzz_path("_out.kwf");
  Fuzz_writeFile(project, data, size);
  Fuzz_writeFile(links, data, size);
  readAsProject(project);
  readAsLinks(links, data, size);
  readLineByLine(links);
  return 0;
}
