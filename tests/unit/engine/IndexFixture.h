// Shared by the index tests: a links file in a fresh folder, loaded as the
// index.
#pragma once
#include <string>
#include <vector>

#include "TestFiles.h"
#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"

// One links entry: the page reference in force, the anchor, the name.
struct LinkEntry {
  std::string page;
  std::string anchor;
  std::string name;
};

// A links file in a fresh folder, loaded as an index.
struct OpenIndex {
  explicit OpenIndex(const std::vector<LinkEntry>& entries)
      : path(dir.file("_out.kwf")) {
    LinksFile file;
    LinksFile_open(&file, path.c_str());
    LinksFile_writeHeader(&file, LinksFile_kBase);
    for (const LinkEntry& e : entries) {
      LinksFile_setPage(&file, e.page.c_str());
      LinksFile_add(&file, e.anchor.c_str(), e.name.c_str(), "");
    }
    LinksFile_close(&file);
    LinksIndex_open(&index, path.c_str());
  }
  ~OpenIndex() { LinksIndex_close(&index); }

  // The length of the key at text and its target ("" when none).
  std::size_t find(const std::string& text, std::string* target) {
    char buf[StrX_kPathSize] = {};
    std::size_t n = LinksIndex_find(&index, text.c_str(), buf, sizeof buf);
    *target = buf;
    return n;
  }

  TempDir dir;
  std::string path;
  LinksIndex index;
};

// Each word marked as a keyword, its anchor "kword" and its number.
inline std::vector<LinkEntry> keywords(const std::vector<std::string>& words) {
  std::vector<LinkEntry> entries;
  for (std::size_t i = 0; i < words.size(); ++i)
    entries.push_back({"", "kword" + std::to_string(i + 1), "[" + words[i] + "]"});
  return entries;
}
