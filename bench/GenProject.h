// Generates a project for the benchmarks: a project file naming generated C
// sources and HTML documents whose templates repeat a list out of a shared
// part file, pull a block out of another part file and a paragraph out of
// the next document, and mention names that the sources define. Sizes and
// texts follow from the file numbers, so every run measures the same site.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct GenProject_Info {
  int sources = 0;
  int documents = 0;
  int parts = 0;             // part files that the documents read, not listed
  std::uintmax_t bytes = 0;  // of all the files above
};

// Writes dir/site.scv with the sources src/modNNN.c (20 to 50 KB each) and
// the documents doc/docNN.htm (the first of them the site's first page),
// and the part files parts/list.htm and parts/common.htm.
GenProject_Info GenProject_write(const std::string& dir, int sources, int documents);

// Texts that only the expanded first document holds: the first and last
// repetition of the list template, the shared block and the summary pulled
// from the next document.
std::vector<std::string> GenProject_firstPageMarks(int documents);
