// The reading passes: missing files, stray template ends, the open-template
// limit and file records.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "TemplateFixture.h"

namespace {

// The names of a reference tree, "name[child child]".
std::string dump(const RXML_ElemList& list) {
  std::string s;
  for (const RXML_Elem* e = list.first; e != nullptr; e = e->next) {
    if (!s.empty()) s += ' ';
    s += e->name;
    if (e->children.first != nullptr) s += "[" + dump(e->children) + "]";
  }
  return s;
}

std::string nested(const char* open, std::size_t n, const char* close) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += open;
  for (std::size_t i = 0; i < n; ++i) s += close;
  return s;
}

}  // namespace

TEST(RXMLReadRefs, MissingFileIsAWarningAndKeepsItsRecord) {
  Engine e;
  e.put("doc.htm", "<p>\n  <var href=\"gone.htm#a\">\n<var href=\"gone.htm#b\">");
  RXML_File* doc = e.add("doc.htm");
  e.readRefs(doc);
  EXPECT_EQ("ファイル " + e.path("doc.htm") + "（line=2）から参照しているファイル " +
                e.path("gone.htm") + " が見つかりません\n",
            std::string(e.warnings));
  RXML_File* gone = RXML_findFile(&e.rx, "gone.htm", doc->path, false);
  ASSERT_NE(nullptr, gone);
  EXPECT_FALSE(gone->exists);
  EXPECT_EQ("b", dump(gone->references));
}

TEST(RXMLReadRefs, StrayEndOfTemplateNamesFileAndLine) {
  Engine e;
  e.put("doc.htm", "<template></template>\n\n</TEMPLATE>");
  RXML_File* doc = e.add("doc.htm");
  Raised r = catchRaise([&] { e.readRefs(doc); });
  EXPECT_EQ(RXML_Err_Many_EndOfTemplate, r.code);
  EXPECT_EQ("</TEMPLATE> が多すぎます(file=" + e.path("doc.htm") + ", line=3)", r.msg);
}

// 32 templates may be open at once in either pass; the 33rd overflows the
// stack. Whatever was built is released with the reader.
TEST(RXMLRead, ThirtyTwoOpenTemplatesAtMost) {
  for (std::size_t n : {RXML_kMaxTemplates, RXML_kMaxTemplates + 1}) {
    SCOPED_TRACE(n);
    Engine e;
    e.put("doc.htm", nested("<template href=\"x#a\">", n, "</template>"));
    RXML_File* doc = e.add("doc.htm");
    Raised refs = catchRaise([&] { e.readRefs(doc); });
    Raised defs = catchRaise([&] { Scrivo_scanTemplateUses(doc); });
    if (n == RXML_kMaxTemplates) {
      EXPECT_FALSE(refs.raised);
      EXPECT_FALSE(defs.raised);
    } else {
      EXPECT_EQ(ArrX_Err_Full, refs.code);
      EXPECT_EQ(ArrX_Err_Full, defs.code);
    }
  }
}

TEST(RXMLFiles, AddAndFind) {
  Engine e;
  const std::string doc = e.put("doc.htm", "");
  RXML_File* d = e.add("doc.htm");
  EXPECT_TRUE(d->exists);
  EXPECT_EQ(d, RXML_findFile(&e.rx, "DOC.HTM#x", doc.c_str(), false));

  Raised r = catchRaise([&] { RXML_findFile(&e.rx, "other.htm#a", doc.c_str(), true); });
  EXPECT_EQ(RXML_Err_FileNotFound, r.code);
  EXPECT_EQ(e.path("other.htm") + " ファイルが見つかりません", r.msg);
  RXML_File* other = RXML_findFile(&e.rx, "other.htm", doc.c_str(), false);
  ASSERT_NE(nullptr, other);
  EXPECT_FALSE(other->exists);
  EXPECT_EQ(2u, RXML_getFileCount(&e.rx));

  // A file path must fit 260 bytes once made absolute.
  const std::string longName(StrX_kPathSize, 'n');
  EXPECT_EQ(StrX_Err_PathTooLong,
            catchRaise([&] { RXML_findFile(&e.rx, longName.c_str(), doc.c_str(), true); }).code);
  EXPECT_EQ(2u, RXML_getFileCount(&e.rx));
}
