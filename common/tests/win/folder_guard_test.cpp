// The folder guard under Wine: one folder in its long and short spelling,
// the system's and the shell's folders protected however they are spelt,
// the product's group inside Programs allowed, and no way through a
// junction.  Runs in a private prefix: it repoints shell folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/folder_guard.h"
#include "support/files.h"
#include "support/settings.h"

namespace {

const char kBase[] = "C:\\Corvane Guard Test";
const char kLong[] = "C:\\Corvane Guard Test\\Long Folder Name";
const char kDocuments[] = "C:\\Corvane Guard Test\\My Documents Folder";
const char kPrograms[] = "C:\\windows\\Start Menu\\Programs";

// The verdict, checked against the answer it comes with.
FolderRefusal Verdict(const std::string& folder, std::string* canonical = nullptr) {
  FolderRefusal why = FolderRefusal::ThroughLink;
  Text canonicalText;
  bool allowed = MayRemoveOrStopIn(folder, &canonicalText, &why);
  if (canonical) *canonical = canonicalText.c_str();
  EXPECT_EQ(allowed, why == FolderRefusal::None) << folder;
  return why;
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
  std::string shortForm = machine::ShortPath(kLong);
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
  EXPECT_EQ(FolderRefusal::None, Verdict(shortForm, &canonical));
  EXPECT_EQ(kLong, canonical);
}

TEST_F(FolderGuard, RefusesTheSystemsFoldersInEitherSpelling) {
  const std::string windows = machine::WindowsFolder(), temp = machine::Environment("TEMP");
  for (const std::string& folder : {windows, machine::SystemFolder(), windows + "\\COMMAND", temp,
                                    machine::ShortPath(temp), std::string(kPrograms)})
    EXPECT_EQ(FolderRefusal::Protected, Verdict(folder)) << folder;

  std::string programFiles = machine::ShortPath("C:\\Program Files");
  ASSERT_NE("C:\\Program Files", programFiles);
  std::string canonical;
  EXPECT_EQ(FolderRefusal::Protected, Verdict(programFiles, &canonical));
  EXPECT_EQ("C:\\Program Files", canonical);
  EXPECT_EQ(FolderRefusal::HoldsProtected, Verdict(machine::ShortPath("C:\\windows\\Start Menu")));
  EXPECT_EQ(FolderRefusal::DriveRoot, Verdict("z:/"));
  EXPECT_EQ(FolderRefusal::NotAbsolute, Verdict("windows"));

  EXPECT_EQ(FolderRefusal::None, Verdict(std::string(kPrograms) + "\\코르바네™ for Win9X"));
  EXPECT_EQ(FolderRefusal::None, Verdict(programFiles + "\\Corvane"));
}

TEST_F(FolderGuard, ShellFoldersCountInWhateverSpellingTheRegistryHolds) {
  // Windows 98's Start-up folder, and My Documents as an 8.3 path.  The
  // private prefix goes after the run: nothing is put back.
  ASSERT_TRUE(machine::SetShellFolder("Startup", std::string(kPrograms) + "\\시작프로그램"));
  ASSERT_TRUE(machine::SetShellFolder("Personal", machine::ShortPath(kDocuments)));
  EXPECT_EQ(FolderRefusal::Protected, Verdict(std::string(kPrograms) + "\\시작프로그램"));
  EXPECT_EQ(FolderRefusal::Protected, Verdict(kDocuments));
  EXPECT_EQ(FolderRefusal::HoldsProtected, Verdict(kBase));
  EXPECT_EQ(FolderRefusal::None, Verdict(std::string(kDocuments) + "\\Corvane"));
  // One that is not there yet counts too, in a folder not there either.
  const std::string notYet = std::string(kBase) + "\\Not Yet";
  ASSERT_TRUE(machine::SetShellFolder("Favorites", notYet + "\\Favorites"));
  EXPECT_EQ(FolderRefusal::Protected, Verdict(notYet + "\\Favorites"));
  EXPECT_EQ(FolderRefusal::HoldsProtected, Verdict(notYet));
  EXPECT_EQ(FolderRefusal::None, Verdict(notYet + "\\Other"));
  EXPECT_EQ(FolderRefusal::None, Verdict(std::string(kPrograms) + "\\코르바네™ for Win9X"));
}

TEST_F(FolderGuard, RefusesAFolderReachedThroughAJunction) {
  // A record pointing at a junction to the Windows folder, or below it.
  ASSERT_TRUE(machine::MakeJunction(kBase, "Linked", "../windows"));
  std::string linked = std::string(kBase) + "\\Linked";
  EXPECT_TRUE(SystemPathForms(linked).throughLink);
  EXPECT_EQ(FolderRefusal::ThroughLink, Verdict(linked));
  EXPECT_EQ(FolderRefusal::ThroughLink, Verdict(linked + "\\Corvane"));
  machine::RemoveJunction(kBase, "Linked");
  EXPECT_EQ(FolderRefusal::None, Verdict(linked));
}

}  // namespace
