// The fixed parts of a project site and of the project files that make one,
// as the site layout gives them, and a project run in a fresh folder.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "E2e.h"

// A project in a fresh folder: its files written, then the program run on
// site.scv; the site is in the work folder scrivo2.
struct Site {
  TempDir dir;
  E2eRun run;
  std::string folder() const { return dir.file("scrivo2"); }
  std::string page(const std::string& name) const {
    return readFile(folder() + nativeSep() + name);
  }
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
inline std::string projectText(const std::vector<std::string>& files, const std::string& key = "",
                               const std::string& line = "") {
  const std::vector<std::string> main = {
      "Application = Scrivolt", "Version = 103", "Index = 1",       "LineNum = 1", "Link = 1",
      "Title = Site",           "FirstPage = .", "StepPath = 0",    "Pervix = 0",  "PervixPath = ",
      "OutFolder = .",          "FuncLink = 1",  "CommentOnly = 0", "NonPre = 0",  "ElemNum = 3"};
  std::string text = "[main] \r\n";
  for (const std::string& l : main) {
    if (!key.empty() && l.compare(0, key.size() + 3, key + " = ") == 0) {
      if (line != "-") text += line + "\r\n";
    } else {
      text += l + "\r\n";
    }
  }
  text += " \r\n[files] \r\n";
  for (const std::string& l : files) text += l + "\r\n";
  return text + " \r\n";
}

// The frame page with main in the main frame.
inline std::string frame(const std::string& main) {
  return "<HTML><HEAD><TITLE>\r\nScrivolt\r\n</TITLE></HEAD>\r\n"
         "<FRAMESET cols=\"190,*\">\r\n"
         "  <FRAMESET rows=\"38,*\" frameborder=no>\r\n"
         "    <FRAME src=\"index0.htm\" scrolling=no>\r\n"
         "    <FRAME src=\"index2.htm\">\r\n"
         "  </FRAMESET>\r\n"
         "  <FRAME src=\"" +
         main +
         "\" name=\"main\">\r\n"
         "</FRAMESET>\r\n</HTML>\r\n";
}

// The page list holding items.
inline std::string pageList(const std::string& items) {
  return "<HTML><BODY>\r\n\r\n<UL>\r\n" + items + "</UL>\r\n</BODY></HTML>\r\n";
}

// One item of the page list.
inline std::string item(const std::string& href, const std::string& name,
                        const std::string& title = "") {
  return "<LI><A href=\"" + href + "\" target=\"main\"><B>" + name + "</B>" +
         (title.empty() ? "" : " : " + title) + "</A>\r\n";
}
