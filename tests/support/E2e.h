// Shared pieces of the end-to-end tests: the programs under test, a run in
// a fresh folder with the browser replaced by a recorder, the checks every
// run on a bad input passes, and the fixed parts of pages and sites as the
// page and site layouts give them.
#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestProc.h"

struct E2eRun : RunResult {
  std::vector<std::string> browserCalls;  // pages the browser was asked to show
};

// Runs the program in folder dir with LC_ALL=C and BROWSER set to the recorder.
E2eRun runScrivo(const TempDir& dir, const std::vector<std::string>& args);
// A page path in the form in which browserCalls shows it.
std::string browserForm(const std::string& page);
// Replaces the line number of every "(digits)" after a module name in a
// report line by N, since line numbers belong to the build.
std::string maskLines(const std::string& text);
// The names in a folder, sorted; empty when it does not exist.
std::vector<std::string> listFolder(const std::string& path);
// The path of name in the work folder of dir.
std::string workFile(const TempDir& dir, const std::string& name);
// The literals of the tests are code page 932, as the compiler writes them;
// this gives such a text in UTF-8.
std::string utf8(const std::string& cp932);
// Separators as "/": messages may join a path with either.
std::string slashes(std::string s);

// Every file below root except inside folders named "scrivo2", by relative
// path, with its bytes and modification time.
using InputSnapshot = std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>>;
InputSnapshot snapshotInputs(const std::string& root);
// What standard error holds after an error with this message ended the run,
// line numbers masked as maskLines does.
std::string uncaughtReport(const std::string& message);
// Runs scrivo in dir on arg: whatever the input, the run ends with status 0
// and nothing on standard error, or with 14 and the report of message and
// no page shown; every file outside the work folder stays as it was. In
// message "<dir>" stands for dir's path and a separator, "<cwd>" for its
// path, "<arg>" for arg.
E2eRun runOnBadInput(const TempDir& dir, const std::string& arg, int status,
                     const std::string& message = "");

// A source page: the head with title and heading, the listing, the index
// sections.
inline std::string head(const std::string& name) {
  return "<HTML><HEAD><TITLE>\r\n" + name + "\r\n</TITLE>\r\n\r\n<BODY>\r\n\r\n<H3>" + name +
         "</H3>\r\n\r\n";
}
inline std::string listing(const std::string& body) {
  return "\r\n<HR><PRE>\r\n" + body + "\r\n</PRE>\r\n</BODY></HTML>\r\n";
}
inline const std::string kFuncSection = "<H4><A name=\"idxF\">関数一覧</A></H4>\r\n\r\n<UL>\r\n";
inline const std::string kOutlineSection = "<H4><A name=\"idx\">目次</A></H4>\r\n<UL>\r\n";
inline const std::string kTypeSection =
    "<H4><A name=\"idxS\">型・クラス・構造体一覧</A></H4>\r\n\r\n<UL>\r\n";
inline const std::string kMacroSection = "<H4><A name=\"idxM\">マクロ一覧</A></H4>\r\n\r\n<UL>\r\n";
inline const std::string kEndSection = "</UL>\r\n\r\n";

// A project in a fresh folder: its files written, then the program run on
// site.scv; the site is in the work folder scrivo2.
struct Site {
  TempDir dir;
  E2eRun run;
  std::string folder() const { return dir.file("scrivo2"); }
  std::string page(const std::string& name) const { return readFile(workFile(dir, name)); }
  void write(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
    writeFile(dir.file(name), bytes);
  }
  void make(const std::string& project) {
    write("site.scv", project);
    run = runScrivo(dir, {"site.scv"});
  }
};

// The navigation bar.
inline const std::string kBar =
    "<HTML><BODY>\r\n\r\n"
    "[<SPAN title=\"トップページに戻ります。\">\r\n"
    "<A href=\"index.html\" target=_top>トップ</A></SPAN>,\r\n"
    "<SPAN title=\"キーワード検索をします。ただし、Pervix が必要です。ダウンロードは、"
    "https://scrivo.example/pervix/ からできます。\">\r\n"
    "<A href=\"_out.kwf\">検索</A></SPAN>,\r\n"
    "<SPAN title=\"ドキュメント・フォルダを表示します。（Internet Explorer のみ）\">\r\n"
    "<A href=\"..\" target=\"main\">フォルダ</A></SPAN>]<BR>\r\n"
    "</BODY></HTML>\r\n";

// A valid project file with the [files] lines given; key names a [main]
// line to replace by line ("-" removes it).
std::string projectText(const std::vector<std::string>& files, const std::string& key = "",
                        const std::string& line = "");
// The frame page with main in the main frame.
std::string frame(const std::string& main);
// The page list holding items, and one item of it.
inline std::string pageList(const std::string& items) {
  return "<HTML><BODY>\r\n\r\n<UL>\r\n" + items + "</UL>\r\n</BODY></HTML>\r\n";
}
inline std::string item(const std::string& href, const std::string& name,
                        const std::string& title = "") {
  return "<LI><A href=\"" + href + "\" target=\"main\"><B>" + name + "</B>" +
         (title.empty() ? "" : " : " + title) + "</A>\r\n";
}
