// Times the keyword-link finder, the hot path of the writing passes: a links
// file of 20,000 names (definitions, keywords and a few phrases over 50
// pages) is loaded, and the finder is stepped over a generated 8 MB C source
// as a writing pass steps it, at each of its event positions. Prints the
// load time and the median of 5 runs in MB/s, with the number of links.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "GenSource.h"
#include "app/ScrivoApp.h"
#include "engine/KeywordLinker.h"
#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "lexer/BLex3.h"
#include "runtime/BigStack.h"

namespace {

constexpr std::size_t kTextSize = 8u << 20;
constexpr int kNames = 20000;
constexpr int kRuns = 5;

// The names a project of this text would register: its functions, macros,
// types and keywords, spread over 50 pages.
void writeLinks(const std::string& path) {
  LinksFile file;
  LinksFile_open(&file, path.c_str());
  LinksFile_writeHeader(&file, LinksFile_kBase);
  const char* const phrases[] = {"[uses of earlier names]", "[more]", "[A comment]"};
  int n = 0;
  for (const char* p : phrases) {
    LinksFile_setPage(&file, "page0.c.htm");
    LinksFile_add(&file, ("kword" + std::to_string(++n)).c_str(), p, "");
  }
  for (int i = 1; n < kNames; ++i) {
    const std::string id = std::to_string(i);
    LinksFile_setPage(&file, ("page" + std::to_string(i % 50) + ".c.htm").c_str());
    LinksFile_addDef(&file, "func", i, ("{func" + id + "}").c_str(), "");
    LinksFile_addDef(&file, "def", i, ("{MACRO_" + id + "}").c_str(), "");
    LinksFile_addDef(&file, "type", i, ("{Type" + id + "}").c_str(), "");
    LinksFile_add(&file, ("title" + id).c_str(), ("Section " + id + " [topic" + id + "]").c_str(),
                  "");
    n += 4;
  }
  LinksFile_close(&file);
}

// One pass of the finder over the text; the number of links.
long linkPass(LinksIndex* index, const std::string& path) {
  static char buf[BLex3_kBufSize];
  static int8_t kinds[BLex3_kKindMapSize];
  BLex3 lx;
  BLex3_init(&lx, path.c_str(), buf, sizeof buf, BLex3_kBlockSize);
  BLex3_setKindMap(&lx, kinds, sizeof kinds);
  KeywordLinker k;
  KeywordLinker_init(&k, index);
  KeywordLinker_setLexer(&k, &lx);
  long links = 0;
  BLex3_Pos cur = {0, 0};
  for (;;) {
    BLex3_setPos(&lx, cur);
    if (BLex3_fetch(&lx, 0) == nullptr) break;
    KeywordLinker_step(&k);
    if (KeywordLinker_event(&k) == KeywordLinker_kLinkStart) ++links;
    cur = KeywordLinker_nextPos(&k);
  }
  BLex3_finish(&lx);
  return links;
}

bool writeText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main() {
  alignas(8) static uint8_t area[BigStack_kMainSize];
  ScrivoApp_setUpRuntime(area, sizeof area);
  namespace fs = std::filesystem;
  const std::string textPath = (fs::temp_directory_path() / "scrivo_links_bench.c").string();
  const std::string linksPath = (fs::temp_directory_path() / "scrivo_links_bench.kwf").string();
  std::string text = GenSource_make(kTextSize);
  text.resize(kTextSize);
  if (!writeText(textPath, text)) {
    std::fprintf(stderr, "cannot write %s\n", textPath.c_str());
    return 1;
  }
  writeLinks(linksPath);

  LinksIndex index;
  auto t0 = std::chrono::steady_clock::now();
  LinksIndex_open(&index, linksPath.c_str());
  std::chrono::duration<double> load = std::chrono::steady_clock::now() - t0;

  linkPass(&index, textPath);  // warm the file cache
  std::vector<double> rates;
  long links = 0;
  for (int i = 0; i < kRuns; ++i) {
    auto start = std::chrono::steady_clock::now();
    links = linkPass(&index, textPath);
    std::chrono::duration<double> t = std::chrono::steady_clock::now() - start;
    rates.push_back(static_cast<double>(kTextSize) / (1024.0 * 1024.0) / t.count());
  }
  std::sort(rates.begin(), rates.end());
  std::printf("links index of %d names: loaded in %.1f ms\n", kNames, load.count() * 1000.0);
  std::printf("keyword links over 8 MB: %.1f MB/s (%ld links, median of %d)\n", rates[kRuns / 2],
              links, kRuns);
  LinksIndex_close(&index);
  std::remove(textPath.c_str());
  std::remove(linksPath.c_str());
  return 0;
}
