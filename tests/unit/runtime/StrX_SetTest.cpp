// The set of unique texts: one stored copy per text, case-blind as the
// program uses it, and the missing-value marker passed through.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/StrX.h"
#include "runtime/StrX_Set.h"

namespace {
struct Set {
  StrX_Set set;
  explicit Set(bool bCase) { StrX_Set_init(&set, StrX_Set_kWidth, StrX_getHashI, bCase); }
  ~Set() { StrX_Set_finish(&set); }
};
}  // namespace

TEST(StrXSetIntern, EqualTextsShareOneCopy) {
  Set s(false);
  char buf[16] = "template";
  const char* a = StrX_Set_intern(&s.set, buf);
  EXPECT_NE(buf, a);
  EXPECT_STREQ("template", a);
  std::strcpy(buf, "changed");  // the copy is the set's own
  EXPECT_STREQ("template", a);
  EXPECT_EQ(a, StrX_Set_intern(&s.set, "template"));
  EXPECT_EQ(a, StrX_Set_intern(&s.set, "TEMPLATE"));  // case-blind set
  EXPECT_NE(a, StrX_Set_intern(&s.set, "templates"));
}

TEST(StrXSetIntern, CaseSensitiveSetKeepsBoth) {
  Set s(true);
  const char* a = StrX_Set_intern(&s.set, "Var");
  const char* b = StrX_Set_intern(&s.set, "var");
  EXPECT_NE(a, b);
  EXPECT_STREQ("var", b);
  EXPECT_EQ(a, StrX_Set_intern(&s.set, "Var"));
}

TEST(StrXSetIntern, NullAndTheMarkerAreGivenBack) {
  Set s(false);
  EXPECT_EQ(nullptr, StrX_Set_intern(&s.set, nullptr));
  EXPECT_STREQ("(e-null)", StrX_Set_eNull);
  EXPECT_EQ(StrX_Set_eNull, StrX_Set_intern(&s.set, StrX_Set_eNull));
  // An equal text elsewhere is an ordinary text and gets a copy.
  char other[] = "(e-null)";
  const char* copy = StrX_Set_intern(&s.set, other);
  EXPECT_NE(StrX_Set_eNull, copy);
  EXPECT_NE(other, copy);
  EXPECT_EQ(StrX_Set_eNull, StrX_Set_intern(&s.set, StrX_Set_eNull));
}
