// The error facility as a handler sees it: the record and the cuts.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "runtime/Errors.h"

TEST(ErrorsRaise, RecordHoldsCodeModuleLineAndMessage) {
  Raised r = catchRaise(
      [] { Errors_raise("mod", 77, FileX_Err_EOF, "a%db", 5); });
  ASSERT_TRUE(r.raised);
  EXPECT_EQ(361, r.code);
  EXPECT_EQ("a5b", r.msg);
  EXPECT_STREQ("mod", Errors_curMsg.module);
  EXPECT_EQ(77, Errors_curMsg.line);
  EXPECT_EQ(0, Errors_curMsg.inUse);
  std::string text(600, 'm');  // the record keeps 511 bytes
  EXPECT_EQ(text.substr(89), catchRaise([&] { Errors_raise("m", 1, 102, "%s", text.c_str()); }).msg);
}

// The hook gets the whole formatted text; a handler only sees the record.
namespace {
struct HookText {
  std::string text;
};
int32_t recordingHook(int32_t, int32_t, const char* msg) {
  Errors_clearNest();
  throw HookText{msg};
}
std::string hookText(const std::string& message) {
  Errors_HookFn saved = Errors_hook;
  Errors_hook = recordingHook;
  std::string seen;
  try {
    Errors_raise("m", 1, 102, "%s", message.c_str());
  } catch (const HookText& h) {
    seen = h.text;
  }
  Errors_hook = saved;
  return seen;
}
}  // namespace

TEST(ErrorsRaise, HookSeesUpTo1024BytesAndLongerTextsAreCut) {
  std::string exact(1024, 'e');
  EXPECT_EQ(exact, hookText(exact));
  EXPECT_EQ(std::string(1019, 'o') + "...", hookText(std::string(1025, 'o')));
}
