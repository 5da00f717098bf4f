// The verdict on a recorded folder: what a damaged or hostile win.ini record
// may not make us empty or end programs in, on a PC laid out as Windows 98
// lays it out.
#include "common/folder_verdict.h"

#include <gtest/gtest.h>

namespace {

const List<Text> kKept = {
    "C:\\",
    "D:\\",
    "C:\\WINDOWS",
    "C:\\WINDOWS\\SYSTEM",
    "C:\\WINDOWS\\COMMAND",
    "C:\\WINDOWS\\TEMP",
    "C:\\WINDOWS\\Desktop",
    "C:\\WINDOWS\\Start Menu",
    "C:\\WINDOWS\\Start Menu\\Programs",
    "C:\\WINDOWS\\Start Menu\\Programs\\시작프로그램",
    "C:\\Program Files",
    "C:\\My Documents",
    "\\\\server\\share\\Profiles\\me",
};

FolderRefusal Judge(const Text& folder) { return JudgeFolder(folder, kKept); }

TEST(JudgeFolder, AllowsTheProductsOwnFolders) {
  EXPECT_EQ(FolderRefusal::None, Judge("C:\\Program Files\\Corvane"));
  EXPECT_EQ(FolderRefusal::None, Judge("c:/program files/corvane/"));
  EXPECT_EQ(FolderRefusal::None, Judge("C:\\WINDOWS\\Corvane"));
  EXPECT_EQ(FolderRefusal::None, Judge("\\\\server\\share\\Corvane"));
  EXPECT_EQ(FolderRefusal::None, Judge("C:\\WINDOWS\\Start Menu\\Programs\\코르바네™ for Win9X"));
  EXPECT_EQ(FolderRefusal::None, JudgeFolder("C:\\WINDOWS", {}));
}

TEST(JudgeFolder, RefusesRootsWhateverTheSpelling) {
  EXPECT_EQ(FolderRefusal::DriveRoot, Judge("C:\\"));
  EXPECT_EQ(FolderRefusal::DriveRoot, Judge("E:\\/"));
  EXPECT_EQ(FolderRefusal::DriveRoot, Judge("C:\\Corvane\\.."));
  EXPECT_EQ(FolderRefusal::DriveRoot, Judge("\\\\?\\F:\\"));
  EXPECT_EQ(FolderRefusal::ShareRoot, Judge("\\\\server\\share"));
  EXPECT_EQ(FolderRefusal::ShareRoot, Judge("\\\\server\\share\\"));
  EXPECT_EQ(FolderRefusal::ShareRoot, Judge("\\\\server"));
  EXPECT_EQ(FolderRefusal::ShareRoot, Judge("//server/share/x/.."));
}

TEST(JudgeFolder, RefusesWhatIsNotAFullPath) {
  for (const char* folder : {"", "Corvane", "C:", "C:Corvane", "\\Corvane", ".", "\\\\.\\PhysicalDrive0"})
    EXPECT_EQ(FolderRefusal::NotAbsolute, Judge(folder)) << folder;
  for (const char* folder : {"C:\\W*", "C:\\Corvane?", "C:\\a|b", "C:\\a\\b:stream", "C:\\a\tb", "C:\\windows\\..."})
    EXPECT_EQ(FolderRefusal::BadName, Judge(folder)) << folder;
}

TEST(JudgeFolder, RefusesProtectedFoldersInEverySpelling) {
  for (const char* folder : {"C:\\WINDOWS", "c:\\windows\\", "C:\\windows.", "C:\\windows\\ ", "\\\\?\\C:\\WINDOWS",
                             "C:\\WINDOWS\\SYSTEM", "C:\\windows\\command", "C:\\Program Files", "C:\\My Documents",
                             "C:\\windows\\Desktop", "C:\\WINDOWS\\Start Menu\\Programs",
                             "C:\\WINDOWS\\Start Menu\\Programs\\시작프로그램", "D:\\Corvane\\..\\",
                             "\\\\server\\share\\Profiles\\me"})
    EXPECT_NE(FolderRefusal::None, Judge(folder)) << folder;
  EXPECT_EQ(FolderRefusal::Protected, Judge("C:\\windows\\system."));
}

TEST(JudgeFolder, RefusesAFolderThatHoldsAProtectedOne) {
  EXPECT_EQ(FolderRefusal::HoldsProtected, Judge("\\\\server\\share\\Profiles"));
  EXPECT_EQ(FolderRefusal::HoldsProtected, JudgeFolder("D:\\Win", {"D:\\Win\\Sys"}));
  EXPECT_EQ(FolderRefusal::HoldsProtected, JudgeFolder("C:\\Apps\\..\\Win", {"c:\\win\\sys"}));
  EXPECT_EQ(FolderRefusal::None, JudgeFolder("D:\\Win", {"D:\\Windows\\Sys"}));
  EXPECT_EQ(FolderRefusal::None, Judge("C:\\WINDOWS\\TEMP\\Corvane"));
}

}  // namespace
