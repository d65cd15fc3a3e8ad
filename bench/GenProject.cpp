// The benchmark project generator.
#include "GenProject.h"

#include <cstdio>
#include <filesystem>

#include "BenchRun.h"
#include "GenSource.h"

namespace {

constexpr int kListItems = 40;

// n with leading zeros to width digits.
std::string num(int n, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, n);
  return buf;
}

std::string docName(int i) { return "doc" + num(i, 2) + ".htm"; }

std::string listItem(int k) {
  return "<li>Entry " + std::to_string(k) + " : note " + std::to_string(k) +
         " of the shared list</li>";
}

const char kCommonBlock[] = "<p>Shared block of every guide.</p>";

std::string summary(int i, int documents) {
  return "Summary of guide " + num(i, 2) + ", pulled into guide " +
         num((i + documents - 1) % documents, 2) + ".";
}

std::string listFile() {
  std::string t = "<html><body>\r\n<ul>\r\n";
  for (int k = 1; k <= kListItems; ++k) {
    t += "<li><b>Entry " + std::to_string(k) + "</b> <i>note " + std::to_string(k) +
         " of the shared list</i></li>\r\n";
  }
  return t + "</ul>\r\n</body></html>\r\n";
}

std::string commonFile() {
  return "<html><body>\r\n<div>\r\n" + std::string(kCommonBlock) +
         "\r\n<p>It stands in each guide, pulled in by a var element.</p>\r\n</div>\r\n"
         "</body></html>\r\n";
}

// A guide: its table of contents, the shared list repeated by a template,
// the next guide's summary and the shared block pulled in by var elements,
// a keyword mark, and sections that mention names of the sources and the
// marks of other guides.
std::string document(int i, int documents) {
  const std::string n = num(i, 2);
  std::string t = "<html><head><title>Guide " + n + "</title></head><body>\r\n<h1>Guide " + n +
                  "</h1>\r\n<embed_index>\r\n<h2>Entries</h2>\r\n<ul>\r\n"
                  "  <template href=\"../parts/list.htm#ul.li\" arg=\"it\">\r\n"
                  "  <li><var href=\"it.b\"> : <var href=\"it.i\"></li>\r\n"
                  "  </template>\r\n</ul>\r\n"
                  "<div>\r\n<p>" + summary(i, documents) + "</p>\r\n"
                  "<p>This guide introduces <kword>theme" + n + "</kword>.</p>\r\n</div>\r\n"
                  "<h2>Next guide</h2>\r\n<p><var href=\"" + docName((i + 1) % documents) +
                  "#div.p\"></p>\r\n<h2>Shared</h2>\r\n<var href=\"../parts/common.htm#div\">\r\n";
  const int sections = 8 + (i % 5) * 2;
  for (int s = 1; s <= sections; ++s) {
    const std::string k = std::to_string(s);
    t += "<h2>Section " + k + "</h2>\r\n";
    for (int p = 1; p <= 6; ++p) {
      const std::string a = std::to_string(1 + (i * 31 + s * 7 + p) % 150);
      const std::string b = std::to_string(1 + (i * 17 + s * 3 + p * 5) % 150);
      t += "<p>In part " + k + "." + std::to_string(p) + " the function func" + a +
           " calls func" + b + "; MACRO_" + b + " scales its result and Type" + a +
           " holds it, as theme" + num((i + s + p) % documents, 2) +
           " explains in more detail.</p>\r\n";
    }
    t += "<h3>Details of section " + k + "</h3>\r\n<table>\r\n";
    for (int r = 1; r <= 5; ++r) {
      const std::string c = std::to_string(1 + (i + s * 11 + r * 13) % 150);
      t += "<tr><td>func" + c + "</td><td>returns a value &amp; keeps E" + c +
           "_A</td></tr>\r\n";
    }
    t += "</table>\r\n";
  }
  return t + "</body></html>\r\n";
}

std::string projectFile(int sources, int documents) {
  std::string t =
      "[main] \r\nApplication = Scrivolt\r\nVersion = 103\r\nIndex = 1\r\nLineNum = 1\r\n"
      "Link = 1\r\nTitle = Bench\r\nFirstPage = doc/" + docName(0) + "\r\nStepPath = 0\r\n"
      "Pervix = 0\r\nPervixPath = \r\nOutFolder = .\r\nFuncLink = 1\r\nCommentOnly = 0\r\n"
      "NonPre = 0\r\nElemNum = 3\r\n \r\n[files] \r\nFolder = src\r\n";
  for (int i = 0; i < sources; ++i) t += "File = mod" + num(i, 3) + ".c\r\n";
  t += "Folder = doc\r\n";
  for (int i = 0; i < documents; ++i) t += "File = " + docName(i) + "\r\n";
  return t + " \r\n";
}

}  // namespace

GenProject_Info GenProject_write(const std::string& dir, int sources, int documents) {
  namespace fs = std::filesystem;
  GenProject_Info info;
  for (const char* sub : {"src", "doc", "parts"}) fs::create_directories(dir + "/" + sub);
  auto put = [&](const std::string& name, const std::string& text) {
    BenchRun_writeFile(dir + "/" + name, text);
    info.bytes += text.size();
  };
  for (int i = 0; i < sources; ++i) {
    // 20 to 50 KB, spread over the range by a step prime to it.
    const std::size_t bytes = 20480 + (static_cast<std::size_t>(i) * 7919) % 30720;
    put("src/mod" + num(i, 3) + ".c", GenSource_make(bytes, static_cast<unsigned>(i + 1)));
  }
  for (int i = 0; i < documents; ++i) put("doc/" + docName(i), document(i, documents));
  put("parts/list.htm", listFile());
  put("parts/common.htm", commonFile());
  BenchRun_writeFile(dir + "/site.scv", projectFile(sources, documents));
  info.sources = sources;
  info.documents = documents;
  info.parts = 2;
  return info;
}

std::vector<std::string> GenProject_firstPageMarks(int documents) {
  return {listItem(1), listItem(kListItems), kCommonBlock, summary(1 % documents, documents)};
}
