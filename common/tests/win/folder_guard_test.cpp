// The folder guard under Wine: one folder in its long and short spelling,
// the system's and the shell's folders protected however they are spelt,
// the product's group inside Programs allowed, and no way through a
// junction.  Runs in a private prefix: it repoints shell folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/folder_guard.h"
#include "wine_links.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kBase[] = "C:\\Corvane Guard Test";
const char kLong[] = "C:\\Corvane Guard Test\\Long Folder Name";
const char kDocuments[] = "C:\\Corvane Guard Test\\My Documents Folder";
const char kPrograms[] = "C:\\windows\\Start Menu\\Programs";

std::string ShortOf(const std::string& path) {
  char shortPath[MAX_PATH] = "";
  DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? shortPath : "";
}

// The verdict, checked against the answer it comes with.
FolderRefusal Verdict(const std::string& folder, std::string* canonical = nullptr) {
  FolderRefusal why = FolderRefusal::kThroughLink;
  bool allowed = MayRemoveOrStopIn(folder, canonical, &why);
  EXPECT_EQ(allowed, why == FolderRefusal::kNone) << folder;
  return why;
}

// The private prefix goes after the run: nothing is put back.
void SetShellFolder(const char* name, const std::string& folder) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_SET_VALUE, &key));
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()), folder.size() + 1);
  RegCloseKey(key);
}

class FolderGuard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateDirectoryA(kBase, NULL);
    CreateDirectoryA(kLong, NULL);
    CreateDirectoryA(kDocuments, NULL);
  }
};

TEST_F(FolderGuard, ALongAndAShortSpellingAreOneFolder) {
  std::string shortForm = ShortOf(kLong);
  ASSERT_NE("", shortForm);
  ASSERT_NE(kLong, shortForm);
  PathForms fromShort = SystemPathForms(shortForm);
  EXPECT_EQ(kLong, fromShort.longForm);
  EXPECT_EQ(shortForm, fromShort.shortForm);
  EXPECT_FALSE(fromShort.throughLink);
  PathForms fromText = SystemPathForms("c:/corvane guard test/LONG folder name./");
  EXPECT_EQ(kLong, fromText.longForm);
  EXPECT_EQ(shortForm, fromText.shortForm);
  // What is not on disk keeps its spelling and has no short form.
  PathForms missing = SystemPathForms(shortForm + "\\Not Yet\\There");
  EXPECT_EQ(std::string(kLong) + "\\Not Yet\\There", missing.longForm);
  EXPECT_EQ("", missing.shortForm);

  std::string canonical;
  EXPECT_EQ(FolderRefusal::kNone, Verdict(shortForm, &canonical));
  EXPECT_EQ(kLong, canonical);
}

TEST_F(FolderGuard, RefusesTheSystemsFoldersInEitherSpelling) {
  char windows[MAX_PATH] = "";
  char system[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, sizeof windows);
  GetSystemDirectoryA(system, sizeof system);
  char temp[MAX_PATH] = "";
  GetEnvironmentVariableA("TEMP", temp, sizeof temp);
  for (const std::string& folder : {std::string(windows), std::string(system), std::string(windows) + "\\COMMAND",
                                    std::string(temp), ShortOf(temp), std::string(kPrograms)})
    EXPECT_EQ(FolderRefusal::kProtected, Verdict(folder)) << folder;

  std::string programFiles = ShortOf("C:\\Program Files");
  ASSERT_NE("C:\\Program Files", programFiles);
  std::string canonical;
  EXPECT_EQ(FolderRefusal::kProtected, Verdict(programFiles, &canonical));
  EXPECT_EQ("C:\\Program Files", canonical);
  EXPECT_EQ(FolderRefusal::kHoldsProtected, Verdict(ShortOf("C:\\windows\\Start Menu")));
  EXPECT_EQ(FolderRefusal::kDriveRoot, Verdict("z:/"));
  EXPECT_EQ(FolderRefusal::kNotAbsolute, Verdict("windows"));

  EXPECT_EQ(FolderRefusal::kNone, Verdict(std::string(kPrograms) + "\\코르바네™ for Win9X"));
  EXPECT_EQ(FolderRefusal::kNone, Verdict(programFiles + "\\Corvane"));
}

TEST_F(FolderGuard, ShellFoldersCountInWhateverSpellingTheRegistryHolds) {
  // Windows 98's Start-up folder, and My Documents as an 8.3 path.
  SetShellFolder("Startup", std::string(kPrograms) + "\\시작프로그램");
  SetShellFolder("Personal", ShortOf(kDocuments));
  EXPECT_EQ(FolderRefusal::kProtected, Verdict(std::string(kPrograms) + "\\시작프로그램"));
  EXPECT_EQ(FolderRefusal::kProtected, Verdict(kDocuments));
  EXPECT_EQ(FolderRefusal::kHoldsProtected, Verdict(kBase));
  EXPECT_EQ(FolderRefusal::kNone, Verdict(std::string(kDocuments) + "\\Corvane"));
  EXPECT_EQ(FolderRefusal::kNone, Verdict(std::string(kPrograms) + "\\코르바네™ for Win9X"));
}

TEST_F(FolderGuard, RefusesAFolderReachedThroughAJunction) {
  // A record pointing at a junction to the Windows folder, or below it.
  ASSERT_TRUE(MakeLinkForTest(kBase, "Linked", "../windows"));
  std::string linked = std::string(kBase) + "\\Linked";
  EXPECT_TRUE(SystemPathForms(linked).throughLink);
  EXPECT_EQ(FolderRefusal::kThroughLink, Verdict(linked));
  EXPECT_EQ(FolderRefusal::kThroughLink, Verdict(linked + "\\Corvane"));
  RemoveLinkForTest(kBase, "Linked");
  EXPECT_EQ(FolderRefusal::kNone, Verdict(linked));
}

}  // namespace
