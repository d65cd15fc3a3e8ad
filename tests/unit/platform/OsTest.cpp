// The platform layer: lead bytes of code page 932 (on Windows the active
// code page, which the tests run as 932).
#include <gtest/gtest.h>

#include "platform/Os.h"

TEST(OsLeadByte, Cp932RangeEdges) {
  struct Case {
    unsigned char byte;
    bool lead;
  };
  const Case cases[] = {{0x00, false}, {0x5C, false}, {0x7F, false}, {0x80, false},
                        {0x81, true},  {0x9F, true},  {0xA0, false}, {0xDF, false},
                        {0xE0, true},  {0xFC, true},  {0xFD, false}, {0xFF, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.byte));
    EXPECT_EQ(c.lead, Os_isLeadByte(c.byte));
  }
}
