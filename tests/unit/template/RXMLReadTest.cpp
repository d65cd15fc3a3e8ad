// The reading passes: the reference trees a document's paths make, the
// elements recorded along them, file records, warnings and errors.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "TemplateFixture.h"

namespace {

// "tag[child child]" for elements, the names for reference nodes.
std::string dump(const RXML_ElemList& list, bool refs) {
  std::string s;
  for (const RXML_Elem* e = list.first; e != nullptr; e = e->next) {
    if (!s.empty()) s += ' ';
    s += refs ? e->name : e->tag;
    if (e->children.first != nullptr) s += "[" + dump(e->children, refs) + "]";
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

TEST(RXMLReadRefs, PathsBecomeBranchesUnderTheFilesTheyName) {
  Engine e;
  e.put("list.htm", "");
  e.put("doc.htm",
        "<var href=\"list.htm#ul.li.b\"><var href=\"LIST.HTM#ul.li.i\">\n"
        "<template href=\"list.htm#dl\" arg=\"it\"><var href=\"IT.dt\">"
        "<template href=\"it.dd\"><var href=\".p\"></template></template>\n"
        "<var href=\"all#x.y\"><var href=\"#own\"><var value=\"v\"><var href=\"\">");
  RXML_File* doc = e.add("doc.htm");
  e.readRefs(doc);
  RXML_File* list = RXML_findFile(&e.rx, "list.htm", doc->path, false);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(2u, RXML_getFileCount(&e.rx));
  EXPECT_EQ("ul[li[b i]] dl[dt dd[p]]", dump(list->references, true));
  EXPECT_EQ("x[y]", dump(e.rx.globalRefs, true));
  EXPECT_EQ("own", dump(doc->references, true));
  // The pass's own templates are gone once closed.
  EXPECT_EQ(nullptr, e.rx.elements.first);
  EXPECT_STREQ("", e.warnings);
}

TEST(RXMLReadRefs, MissingFileIsAWarningAndKeepsItsRecord) {
  for (bool passLine : {false, true}) {
    SCOPED_TRACE(passLine);
    Engine e;
    e.put("doc.htm", "<p>\n  <var href=\"gone.htm#a\">\n<var href=\"gone.htm#b\">");
    RXML_File* doc = e.add("doc.htm");
    e.readRefs(doc, passLine);
    EXPECT_EQ("ファイル " + e.path("doc.htm") + "（line=2）から参照しているファイル " +
                  e.path("gone.htm") + " が見つかりません\n",
              std::string(e.warnings));
    RXML_File* gone = RXML_findFile(&e.rx, "gone.htm", doc->path, false);
    ASSERT_NE(nullptr, gone);
    EXPECT_FALSE(gone->exists);
    EXPECT_EQ("b", dump(gone->references, true));
  }
}

TEST(RXMLReadRefs, StrayEndOfTemplateNamesFileAndLine) {
  Engine e;
  e.put("doc.htm", "<template></template>\n\n</TEMPLATE>");
  RXML_File* doc = e.add("doc.htm");
  Raised r = catchRaise([&] { e.readRefs(doc); });
  EXPECT_EQ(RXML_Err_Many_EndOfTemplate, r.code);
  EXPECT_EQ("</TEMPLATE> が多すぎます(file=" + e.path("doc.htm") + ", line=3)", r.msg);
}

TEST(RXMLReadDefs, StrayEndOfTemplateInAReadFile) {
  Engine e;
  e.put("doc.htm", "<var href=\"b.htm#x\">");
  e.put("b.htm", "<x></x></template>");
  RXML_File* doc = e.add("doc.htm");
  e.readRefs(doc);
  Raised r = catchRaise([&] { e.readAllDefs(); });
  EXPECT_EQ(RXML_Err_Many_EndOfTemplate, r.code);
  EXPECT_EQ("</TEMPLATE> が多すぎます", r.msg);
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
    Raised defs = catchRaise([&] { e.readDefs(doc); });
    if (n == RXML_kMaxTemplates) {
      EXPECT_FALSE(refs.raised);
      EXPECT_FALSE(defs.raised);
    } else {
      EXPECT_EQ(ArrX_Err_Full, refs.code);
      EXPECT_EQ(ArrX_Err_Full, defs.code);
    }
  }
}

TEST(RXMLReadDefs, RecordsElementsOnlyAlongReferencedPaths) {
  Engine e;
  e.put("list.htm",
        "<ul><li><b>1</b><i>2</i><ul><li>x</li></ul></li><li><b>3</b></li></ul>\n"
        "<p><b>no</b></p><x>global</x><template><var><q></q></template><var href=\"z\">");
  e.put("doc.htm", "<var href=\"list.htm#ul.li.b\"><var href=\"all#x\">");
  RXML_File* doc = e.read("doc.htm");
  RXML_File* list = RXML_findFile(&e.rx, "list.htm", doc->path, false);
  EXPECT_EQ("ul[li[b] li[b]] x template[var] var", dump(list->elements, false));
  EXPECT_EQ("var var", dump(doc->elements, false));
}

TEST(RXMLReadDefs, ElementsLeftOpenEndWithTheirTemplate) {
  Engine e;
  e.put("doc.htm", "<template><b>x</template>y<var href=\"#b\">");
  RXML_File* doc = e.read("doc.htm");
  const RXML_Elem* t = doc->elements.first;
  ASSERT_NE(nullptr, t);
  const RXML_Elem* b = t->children.first;
  ASSERT_NE(nullptr, b);
  EXPECT_EQ(14, b->end.offset);  // the "<" of "</template>"
  EXPECT_EQ(14, b->bodyEnd.offset);
  EXPECT_EQ(25, t->end.offset);
}

TEST(RXMLFiles, AddAndFind) {
  Engine e;
  const std::string doc = e.put("doc.htm", "");
  RXML_File* d = e.add("doc.htm");
  EXPECT_TRUE(d->exists);
  EXPECT_EQ(d, RXML_findFile(&e.rx, "#x.y", doc.c_str(), false));
  EXPECT_EQ(d, RXML_findFile(&e.rx, "DOC.HTM#x", doc.c_str(), false));
  EXPECT_EQ(nullptr, RXML_findFile(&e.rx, "other.htm", doc.c_str(), false));

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
