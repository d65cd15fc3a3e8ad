// The warning sink: flags decide where a message goes and its line ends.
#include <gtest/gtest.h>

#include <string>

#include "runtime/PrintX.h"

TEST(PrintXFlags, StderrAndCaptureBufferWhichIsCutWhenFull) {
  PrintX px;
  PrintX_init(&px);
  char buf[8];
  PrintX_setBuffer(&px, buf, buf + sizeof buf);
  PrintX_setFlags(&px, PrintX_Stderr);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  PrintX_printf(&px, "abc");
  PrintX_printf(&px, "defghij");
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  EXPECT_EQ("abcdefghij", testing::internal::GetCapturedStderr());
  EXPECT_STREQ("abcdefg", buf);
}
