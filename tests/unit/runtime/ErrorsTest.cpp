// The error facility as a handler sees it: records, cuts and errno texts.
#include <gtest/gtest.h>

#include <cerrno>
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
  EXPECT_EQ(Errors_curMsg.msg, Errors_curMsg.msgPtr);
  EXPECT_EQ(0, Errors_curMsg.inUse);
}

TEST(ErrorsRaise, RecordKeeps511BytesOfALongerMessage) {
  std::string text(600, 'm');
  Raised r = catchRaise([&] { Errors_raise("m", 1, 102, "%s", text.c_str()); });
  EXPECT_EQ(std::string(511, 'm'), r.msg);
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
  std::string six(600, 's');
  EXPECT_EQ(six, hookText(six));
  EXPECT_EQ(511u, std::string(Errors_curMsg.msg).size());
}

TEST(ErrorsErrno, LongAndShortTexts) {
  EXPECT_STREQ("不正なファイル番号。", Errors_errnoLong(EBADF));
  EXPECT_STREQ("EXIST   ファイルが存在する。", Errors_errnoShort(EEXIST));
  EXPECT_STREQ("Unknown Error", Errors_errnoLong(5));
  EXPECT_STREQ("Unknown Error", Errors_errnoShort(5));
}

TEST(ErrorsErrno, RaiseErrnoCarriesTheLongText) {
  Raised r = catchRaise([] {
    errno = ENOMEM;
    Errors_raiseErrno();
  });
  EXPECT_EQ(112, r.code);
  EXPECT_EQ("メモリ不足。実行しようとした操作に十分なメモリがありません。", r.msg);
}

TEST(ErrorsText, CompiledAsCodePage932) {
  // "表" is 0x95 0x5C in code page 932: its trail byte is a backslash.
  const char hyo[] = "表";
  ASSERT_EQ(2u, sizeof hyo - 1);
  EXPECT_EQ(0x95, static_cast<unsigned char>(hyo[0]));
  EXPECT_EQ(0x5C, static_cast<unsigned char>(hyo[1]));
  // "キャッチ" begins 0x83 0x4C.
  EXPECT_EQ(0x83, static_cast<unsigned char>(Except3_Txt_Uncaught[0]));
  EXPECT_EQ(0x4C, static_cast<unsigned char>(Except3_Txt_Uncaught[1]));
}
