// Shared by the template engine tests: files in a fresh folder, the run's
// name set and warning sink, and the passes driven by the lockstep loop the
// template document passes use (tag scanner first, the lexer restored
// before each scanner, the tag scanner's next position as the next one).
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "lexer/HtmlTagP.h"
#include "runtime/StrX.h"
#include "template/RXMLRead.h"
#include "template/RXMLWrite.h"

struct Engine {
  TempDir dir;
  StrX_Set names;
  PrintX sink;
  char warnings[4096];
  RXML rx;

  Engine() {
    StrX_Set_init(&names, StrX_Set_kWidth, StrX_getHashI, false);
    PrintX_init(&sink);
    PrintX_setBuffer(&sink, warnings, warnings + sizeof warnings);
    RXML_init(&rx, &sink, &names);
  }
  ~Engine() {
    RXML_finish(&rx);
    StrX_Set_finish(&names);
  }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  std::string path(const std::string& name) const { return dir.file(name); }
  std::string put(const std::string& name, const std::string& text) {
    writeFile(path(name), text);
    return path(name);
  }
  RXML_File* add(const std::string& name) { return RXML_addFile(&rx, path(name).c_str()); }

  // One lockstep loop over file: init(tags) once, then step(current line)
  // after the tag scanner at every position.
  template <class Init, class Step>
  void loop(const char* file, Init&& init, Step&& step) {
    const std::string text = readFile(file);
    BLex3 lx;
    char buf[BLex3_kBufSize];
    int8_t kinds[BLex3_kKindMapSize];
    BLex3_init(&lx, file, buf, sizeof buf, BLex3_kBlockSize);
    struct Closer {
      BLex3* lx;
      ~Closer() { BLex3_finish(lx); }
    } closer{&lx};
    BLex3_setKindMap(&lx, kinds, sizeof kinds);
    HtmlTagP_Mem mem;
    HtmlTagP tags;
    HtmlTagP_init(&tags, mem.pool, sizeof mem.pool, mem.table, sizeof mem.table);
    HtmlTagP_setLexer(&tags, &lx);
    init(&tags);
    BLex3_Pos pos{0, BLex3_kSingleByte};
    for (int cycles = 0; cycles < 100000; ++cycles) {
      BLex3_setPos(&lx, pos);
      if (BLex3_fetch(&lx, 0) == nullptr) return;
      HtmlTagP_step(&tags);
      BLex3_setPos(&lx, pos);
      int32_t line = 1;
      for (int32_t i = 0; i < pos.offset && i < static_cast<int32_t>(text.size()); ++i)
        line += text[static_cast<std::size_t>(i)] == '\n';
      step(line);
      HtmlTagP_getNextPos(&tags, &pos);
    }
    ADD_FAILURE() << "the loop did not end";
  }

  // The reference pass; with passLine, the line comes from the loop as a
  // line counter gives it, else the pass counts.
  void readRefs(RXML_File* f, bool passLine = false) {
    RXML_ReadRefs refs;
    int32_t line = 1;
    loop(
        f->path,
        [&](HtmlTagP* tags) { RXML_readRefs_init(&refs, tags, passLine ? &line : nullptr, f, &rx); },
        [&](int32_t at) {
          line = at;
          RXML_readRefs_step(&refs);
        });
  }
  void readDefs(RXML_File* f) {
    RXML_ReadDefs defs;
    loop(
        f->path, [&](HtmlTagP* tags) { RXML_readDefs_init(&defs, tags, f); },
        [&](int32_t) { RXML_readDefs_step(&defs); });
  }
  // Definition pass over every record of an existing file.
  void readAllDefs() {
    for (RXML_File* f = rx.firstFile; f != nullptr; f = f->next)
      if (f->exists) readDefs(f);
  }
  std::string write(RXML_File* f) {
    const std::string out = path("_middle.txt");
    {
      std::unique_ptr<std::FILE, int (*)(std::FILE*)> o(std::fopen(out.c_str(), "wb"),
                                                          std::fclose);
      RXML_writeFile(f, o.get());
    }
    return readFile(out);
  }
  // The reading passes over a document, as the template pipeline runs
  // them: its references, then the definitions of every file.
  RXML_File* read(const std::string& doc) {
    RXML_File* f = add(doc);
    readRefs(f);
    readAllDefs();
    return f;
  }
  std::string expand(const std::string& doc) { return write(read(doc)); }
};
