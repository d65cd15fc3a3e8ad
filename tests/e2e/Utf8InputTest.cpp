// UTF-8 input files next to code page 932 ones: the same sources stored in
// both codes give the same pages and each listing gives back its own bytes;
// the edges of the choice between the codes; titles cut before a character
// that does not fit; a project that mixes both codes.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "E2e.h"

namespace {

const std::string kMeta = "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">";

// A page's start as a UTF-8 page writes it: the declaration right after
// <HEAD>, and a head of its own for a page that had none.
std::string declared(const std::string& page) {
  const std::string head = "<HTML><HEAD>";
  if (page.compare(0, head.size(), head) == 0) return head + kMeta + page.substr(head.size());
  const std::string noHead = "<HTML><BODY>";
  EXPECT_EQ(0, page.compare(0, noHead.size(), noHead));
  return head + kMeta + "</HEAD><BODY>" + page.substr(noHead.size());
}

// The input bytes that a page's listing shows: the text between <PRE> and
// </PRE> without the line numbers, without the tags the program adds (a
// title anchor takes the title's number "1-2. " with it), with &lt; &gt;
// &amp; turned back.
std::string listedBytes(const std::string& page) {
  const std::size_t from = page.find("<PRE>\r\n") + 7, to = page.rfind("\r\n</PRE>");
  if (from < 7 || to == std::string::npos || to < from) return "(no listing)";
  std::string body = "\n" + page.substr(from, to - from);
  const char* const edits[][2] = {{"\n *[0-9]+\\|", "\n"},
                                  {"<A name=\"title[^>]*>[0-9-]+\\. ", ""},
                                  {"<[^>]*>", ""},
                                  {"&lt;", "<"},
                                  {"&gt;", ">"},
                                  {"&amp;", "&"}};
  for (const auto& e : edits) body = std::regex_replace(body, std::regex(e[0]), e[1]);
  return body.substr(1);
}

// The page of one file in a fresh folder, made without error.
std::string pageOf(const std::string& name, const std::string& bytes, const std::string& page) {
  TempDir dir;
  writeFile(dir.file(name), bytes);
  runOnBadInput(dir, name, 0);
  return readFile(workFile(dir, page));
}

}  // namespace

// The twin is a source with Japanese comments, titles, keyword marks and
// literals, among them characters whose code page 932 form ends in "[",
// "\", "]", "{" or "|" (one at the end of a // comment), and characters
// whose UTF-8 form ends in 0x81 or 0x82 right before "*/", a quote or a
// line end. The literal is code page 932; utf8() gives the other twin.
TEST(Utf8Input, TwinsGiveTheSamePageInBothCodes) {
  const std::string cpText = R"twin(/* <<<計測ライブラリ [meter] の本体>>> */
/* <<<<[定数]と[ソート]>>> */
#define METER_MARK      '表'
#define METER_TITLE     "メーター一覧ー"
#define METER_CLAMP(v, lo, hi) \
  ((v) < (lo) ? (lo) : (v) > (hi) ? (hi) : (v))
/* 行の長さ。余裕を持たせるため*/
#define LINE_LEN 256
// 並べ替えは省略可能
typedef enum MeterKind { METER_TIME, METER_ZONE } MeterKind;  /* ゾーン、ポート、性能 */
/* 一覧表の本体。帳票でも同じ。
   罫線は「｜」ではなく "|"、空欄は "－" */
struct MeterTable { int count; };
// 範囲外の種類は「不明」とする。誤った呼び出しも処理可能
static int is_mark(const char *name)
{
  return name[0] == 'あ' || METER_MARK != '表';
}
/* <<<[表示]>>>` */
// 表の中身を描いた文字列を返す。
const char *render(struct MeterTable *table)
{
  table->count = is_mark("ゾーンあ");
  return "\\ 表\\ソ\\能\\ の後にも続く\n" "\"引用\"も";
}
)twin";
  const std::string u8Text = utf8(cpText);
  ASSERT_NE(u8Text, cpText);
  const std::string u8 = pageOf("meter.c", u8Text, "meter.htm");
  const std::string cp = pageOf("meter.c", cpText, "meter.htm");

  // Same index lists, anchors and links: the code page 932 page in UTF-8
  // is the UTF-8 page without its declaration.
  std::string undeclared = u8;
  ASSERT_EQ(0, undeclared.compare(0, 12 + kMeta.size(), "<HTML><HEAD>" + kMeta));
  undeclared.erase(12, kMeta.size());
  EXPECT_EQ(utf8(cp), undeclared);
  EXPECT_EQ(u8Text, listedBytes(u8));
  EXPECT_EQ(cpText, listedBytes(cp));
  EXPECT_NE(std::string::npos, cp.find("<LI><A href=\"#func2\">render 関数</A>"));
}

// A title keeps at most 127 bytes in the page list and 255 in its links
// entry; a character that would cross the limit stays out whole.
TEST(Utf8Input, TitleCutsKeepWholeCharacters) {
  const std::string a3 = "\xE3\x81\x82";      // あ
  const std::string k4 = "\xF0\xA0\xAE\xB7";  // U+20BB7
  struct Case {
    const char* what;
    std::string kept127;  // the title up to the character that crosses byte 127
    std::string kept255;  // ... that crosses byte 255
    std::string rest;
  };
  const Case cases[] = {
      // あ at bytes 125-127 and 253-255.
      {"3 bytes", "[" + a3 + "]" + std::string(120, 'a'), a3 + std::string(125, 'b'), a3 + "z"},
      // U+20BB7 at bytes 125-128 and 254-257.
      {"4 bytes", "[" + k4 + "]" + std::string(119, 'a'), k4 + std::string(125, 'b'), k4 + "z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Site s;
    s.write("t.txt", "<<<" + c.kept127 + c.kept255 + c.rest + ">>>\n");
    s.make(projectText({"Folder = .", "File = t.txt"}));
    ASSERT_EQ(0, s.run.status) << s.run.err;
    EXPECT_EQ(declared(pageList(item("t.txt.htm", "t.txt", c.kept127))), s.page("index2.htm"));
    const std::string entry = "\r\nA = " + c.kept127 + c.kept255 + ", , t.txt.htm#title1\r\n";
    EXPECT_NE(std::string::npos, s.page("_out.kwf").find(entry));
  }
}

// The site's own pages are UTF-8 once one file is; each source page keeps
// its file's code, and names link across the two codes.
TEST(Utf8Input, ProjectMixingBothCodes) {
  const std::string newText =
      utf8("/* <<<新しい[部品]>>> */\nint render(void)\n{\n  return compute();  /* 表示あ*/\n}\n");
  const std::string oldText =
      "/* <<<古い表示ソース>>> */\nint compute(void)\n{\n  return 0;  /* 能 */\n}\n"
      "int old(void) { return render(); }\n";
  Site s;
  s.write("new.c", newText);
  s.write("old.c", oldText);
  s.make(projectText({"Folder = .", "File = new.c", "File = old.c"}));
  ASSERT_EQ(0, s.run.status) << s.run.err;

  EXPECT_EQ(declared(utf8(kBar)), s.page("index0.htm"));
  EXPECT_EQ(declared(utf8(pageList(item("new.c.htm", "new.c", "新しい[部品]") +
                                   item("old.c.htm", "old.c", "古い表示ソース")))),
            s.page("index2.htm"));

  const std::string newPage = s.page("new.c.htm"), oldPage = s.page("old.c.htm");
  EXPECT_EQ(declared("<HTML><HEAD><TITLE>"), newPage.substr(0, 19 + kMeta.size()));
  EXPECT_EQ("<HTML><HEAD><TITLE>", oldPage.substr(0, 19));
  EXPECT_NE(std::string::npos, newPage.find("<A href=\"old.c.htm#func1\">compute</A>"));
  EXPECT_NE(std::string::npos, oldPage.find("<A href=\"new.c.htm#func1\">render</A>"));
}
