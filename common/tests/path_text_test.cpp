// Path text: the one spelling that Windows reads the same, and comparisons
// in any ASCII case that leave Korean names alone.
#include "common/path_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CanonicalPathText, SpellsAPathTheWayTheFileSystemReadsIt) {
  EXPECT_EQ("E:\\", CanonicalPathText("E:\\/"));
  EXPECT_EQ("C:\\windows", CanonicalPathText("c:\\windows."));
  EXPECT_EQ("C:\\windows", CanonicalPathText("C:/windows/./ /"));
  EXPECT_EQ("C:\\WINDOWS", CanonicalPathText("\\\\?\\C:\\WINDOWS"));
  EXPECT_EQ("C:\\WINDOWS", CanonicalPathText("\\\\.\\C:\\WINDOWS\\"));
  EXPECT_EQ("\\\\server\\share\\x", CanonicalPathText("\\\\?\\UNC\\server\\share\\x"));
  EXPECT_EQ("\\\\server\\share\\x", CanonicalPathText("//server//share\\\\x"));
  EXPECT_EQ("C:\\Program Files\\코르바네™", CanonicalPathText("C:\\Program Files\\\\코르바네™. .\\"));
  EXPECT_EQ(" lead", CanonicalPathText(" lead"));
}

TEST(CanonicalPathText, ResolvesDotsButNeverClimbsAboveTheRoot) {
  EXPECT_EQ("C:\\A\\X", CanonicalPathText("C:\\A\\.\\B\\..\\X"));
  EXPECT_EQ("C:\\", CanonicalPathText("C:\\Corvane\\.."));
  EXPECT_EQ("C:\\X", CanonicalPathText("C:\\A\\..\\..\\..\\X"));
  EXPECT_EQ("\\\\server\\share", CanonicalPathText("\\\\server\\share\\A\\..\\.."));
  EXPECT_EQ("\\X", CanonicalPathText("\\..\\X"));
  // What a relative path cannot resolve stays; so does an ambiguous "...".
  EXPECT_EQ("..\\X", CanonicalPathText("A\\..\\..\\X"));
  EXPECT_EQ("C:..\\X", CanonicalPathText("C:..\\X"));
  EXPECT_EQ("C:\\windows\\...", CanonicalPathText("C:\\windows\\... "));
}

TEST(CanonicalPathText, RootsAndWhatCountsAsAbsolute) {
  EXPECT_EQ(3u, CanonicalRootLength("C:\\A"));
  EXPECT_EQ(2u, CanonicalRootLength("C:A"));
  EXPECT_EQ(12u, CanonicalRootLength("\\\\server\\sh1\\A"));
  EXPECT_EQ(8u, CanonicalRootLength("\\\\server"));
  EXPECT_EQ(1u, CanonicalRootLength("\\A"));
  EXPECT_EQ(0u, CanonicalRootLength("A"));
  EXPECT_TRUE(IsAbsolutePath("C:\\"));
  EXPECT_TRUE(IsAbsolutePath("\\\\server\\share"));
  EXPECT_FALSE(IsAbsolutePath("\\\\server"));
  EXPECT_FALSE(IsAbsolutePath("C:"));
  EXPECT_FALSE(IsAbsolutePath("\\A"));
  EXPECT_FALSE(IsAbsolutePath(""));
}

TEST(IsInsideFolder, IsAComponentTestInAnyCase) {
  EXPECT_TRUE(IsInsideFolder("C:\\PROGRAM FILES\\CORVANE\\UNSETUP.EXE", "c:\\program files\\Corvane"));
  EXPECT_TRUE(IsInsideFolder("C:\\Corvane\\Update\\x.dat", "C:\\Corvane\\"));
  EXPECT_FALSE(IsInsideFolder("C:\\Corvane2\\x.exe", "C:\\Corvane"));
  EXPECT_FALSE(IsInsideFolder("C:\\Corvane", "C:\\Corvane"));
  EXPECT_FALSE(IsInsideFolder("C:\\Corvane\\x.exe", ""));
  EXPECT_TRUE(IsInsideFolder("C:\\x.exe", "C:\\"));
  EXPECT_TRUE(IsInsideFolder("\\\\server\\share\\x", "\\\\SERVER\\Share"));
}

TEST(SamePath, FoldsAsciiCaseOnlyAndIgnoresATrailingBackslash) {
  EXPECT_TRUE(SamePath("C:\\WINDOWS\\", "c:\\windows"));
  EXPECT_FALSE(SamePath("C:\\WINDOWS2", "c:\\windows"));
  EXPECT_TRUE(SamePath("C:\\", "c:\\"));
  // Two code page 949 characters whose trail bytes are 'a' and 'A' (0x61,
  // 0x41) are different names, not one name in two cases.
  EXPECT_FALSE(SamePath("C:\\\x81\x61", "C:\\\x81\x41"));
  EXPECT_FALSE(IsInsideFolder("C:\\\x81\x61\\x", "C:\\\x81\x41"));
  EXPECT_TRUE(SamePath("C:\\\x81\x61x", "c:\\\x81\x61X"));
}

}  // namespace

TEST(PathParts, JoinAndSplitAtOneBackslash) {
  EXPECT_EQ(JoinPath("C:\\", "*.*"), "C:\\*.*");
  EXPECT_EQ(JoinPath("C:\\WINDOWS", "Command"), "C:\\WINDOWS\\Command");
  EXPECT_EQ(JoinPath("", "name"), "name");
  EXPECT_EQ(FolderOf("\\\\server\\share\\X.EXE"), "\\\\server\\share");
  EXPECT_TRUE(IsDirectlyIn("C:\\WINDOWS\\SYSTEM\\A.DLL", "c:\\windows\\system\\"));
  EXPECT_FALSE(IsDirectlyIn("C:\\WINDOWS\\SYSTEM\\X\\A.DLL", "C:\\WINDOWS\\SYSTEM"));
  EXPECT_FALSE(IsDirectlyIn("A.DLL", ""));
}
