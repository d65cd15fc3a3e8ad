// Shared by the template engine tests: files in a fresh folder and a
// template reader whose warnings go to a buffer; the document is read and
// expanded by the passes the pipelines run.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "template/DocJob.h"
#include "template/TemplatePasses.h"

struct Engine {
  TempDir dir;
  PrintX sink;
  char warnings[4096];
  DocJob_Reader reader{initSink()};
  RXML& rx = reader.rxml;

  PrintX* initSink() {
    PrintX_init(&sink);
    PrintX_setBuffer(&sink, warnings, warnings + sizeof warnings);
    return &sink;
  }
  std::string path(const std::string& name) const { return dir.file(name); }
  std::string put(const std::string& name, const std::string& text) {
    writeFile(path(name), text);
    return path(name);
  }
  RXML_File* add(const std::string& name) { return RXML_addFile(&rx, path(name).c_str()); }
  void readRefs(RXML_File* f) { Scrivo_scanTemplates(f->path, f, nullptr); }
  RXML_File* read(const std::string& doc) {
    RXML_File* f = add(doc);
    readRefs(f);
    DocJob_scanUses(&rx);
    return f;
  }
  std::string expand(const std::string& doc) {
    RXML_File* f = read(doc);
    Scrivo_writeMiddle(f, path("_middle.txt").c_str());
    return readFile(path("_middle.txt"));
  }
};
