// Which running programs belong to the product: the install folder's whole
// tree, in any ASCII letter case, sparing the setup programs.
#include <gtest/gtest.h>

#include "common/process_match.h"

TEST(Processes, WholeFolderInAnyCaseSparingSetup) {
  const Text folder = "C:\\Program Files\\Corvane";
  EXPECT_TRUE(IsProductProcess("c:\\program files\\corvane\\cv32w.exe", folder));
  EXPECT_TRUE(IsProductProcess("C:\\Program Files\\Corvane\\Update\\upd.exe", folder));
  EXPECT_TRUE(IsProductProcess("C:\\Program Files\\Corvane\\x.exe", folder + "\\"));
  EXPECT_FALSE(IsProductProcess("C:\\PROGRAM FILES\\CORVANE2\\X.EXE", folder));
  EXPECT_FALSE(IsProductProcess("C:\\Program Files\\Corvane Tools\\x.exe", folder));
  EXPECT_FALSE(IsProductProcess("D:\\Backup\\C\\Program Files\\Corvane\\x.exe", folder));
  EXPECT_FALSE(IsProductProcess("C:\\PROGRAM FILES\\CORVANE\\UNSETUP.EXE", folder));
  EXPECT_FALSE(IsProductProcess("D:\\CD\\SETUP.EXE", folder));
  EXPECT_FALSE(IsProductProcess("C:\\WINDOWS\\EXPLORER.EXE", folder));
  EXPECT_FALSE(IsProductProcess("C:\\ANYTHING.EXE", ""));
  // "갂" is 81 41 and "갵" 81 61 in code page 949: their trail bytes are "A"
  // and "a", which an ASCII upper-casing of every byte would make one name.
  EXPECT_TRUE(IsProductProcess("C:\\\x81\x61\\x.exe", "c:\\\x81\x61"));
  EXPECT_FALSE(IsProductProcess("C:\\\x81\x61\\x.exe", "C:\\\x81\x41"));
  EXPECT_FALSE(IsProductProcess("C:\\\x81\x41\\x.exe", "C:\\\x81\x61"));
}
