// File utilities on Windows: bare drives are folders, and a copy carries the
// read-only attribute over.
#include <gtest/gtest.h>

#include <windows.h>

#include "TestFiles.h"
#include "platform/OsFile.h"
#include "runtime/FileX.h"

namespace {

TEST(FileXIsDirExistWin32, BareDrivesAreFolders) {
  EXPECT_TRUE(FileX_isDirExist("c:"));
  EXPECT_TRUE(FileX_isDirExist("C:"));
  EXPECT_TRUE(FileX_isDirExist("c:\\"));
  EXPECT_TRUE(FileX_isDirExist("c:/"));
}

TEST(FileXCopyWin32, KeepsTheReadOnlyAttribute) {
  TempDir dir;
  writeFile(dir.file("s"), "abc");
  OsFile_Attr a = 0;
  ASSERT_TRUE(OsFile_getAttr(dir.file("s").c_str(), &a));
  ASSERT_TRUE(OsFile_setAttr(dir.file("s").c_str(), a | FILE_ATTRIBUTE_READONLY));
  FileX_copy(dir.file("d").c_str(), dir.file("s").c_str());
  OsFile_Attr b = 0;
  ASSERT_TRUE(OsFile_getAttr(dir.file("d").c_str(), &b));
  EXPECT_NE(0u, b & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ("abc", readFile(dir.file("d")));
}

}  // namespace
