// DELTREE.EXE under Wine: the command lines setup and people give it, and
// what it removes and what it leaves alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"
#include "support/files.h"
#include "support/processes.h"

namespace {

void MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  ASSERT_TRUE(machine::WriteFile(path, "data")) << path;
  SetFileAttributesA(path.c_str(), attributes);
}

void MakeFolder(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), NULL)) << path; }

// Runs DELTREE.EXE with the given arguments and stdin text; its exit code.
DWORD RunDeltree(const std::string& arguments, const std::string& input = "") {
  machine::Launch launch;
  launch.commandLine = "\"" + machine::Join(machine::ProgramFolder(), "DELTREE.EXE") + "\" " + arguments;
  launch.input = input;
  return machine::RunToEnd(launch, 60000);
}

class Deltree : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = machine::TempFolder() + "cv deltree " + std::to_string(GetCurrentProcessId());
    RunDeltree("/y \"" + root_ + "\"");
    MakeFolder(root_);
    // The tree to remove: blanks and Korean in names, nested folders, files
    // that are read-only, hidden and system.
    tree_ = root_ + "\\Program Files\\코르바네 Corvane";
    MakeFolder(root_ + "\\Program Files");
    MakeFolder(tree_);
    MakeFolder(tree_ + "\\VProtect");
    MakeFolder(tree_ + "\\VProtect\\deep");
    MakeFolder(tree_ + "\\Update");
    MakeFile(tree_ + "\\CV32W.EXE", FILE_ATTRIBUTE_READONLY);
    MakeFile(tree_ + "\\VProtect\\hidden.dat", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(tree_ + "\\VProtect\\deep\\system.dat", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    MakeFile(tree_ + "\\예약검사.LNK");
    // A sibling whose name begins with the tree's name must survive.
    sibling_ = tree_ + "2";
    MakeFolder(sibling_);
    MakeFile(sibling_ + "\\keep.txt");
  }

  void TearDown() override { RunDeltree("/y \"" + root_ + "\""); }

  std::string root_, tree_, sibling_;
};

TEST_F(Deltree, RemovesAQuotedTreeAndNothingBesideIt) {
  EXPECT_EQ(0u, RunDeltree("/y \"" + tree_ + "\""));
  EXPECT_FALSE(machine::Exists(tree_));
  EXPECT_TRUE(machine::Exists(sibling_ + "\\keep.txt"));
  EXPECT_TRUE(machine::Exists(root_ + "\\Program Files"));
}

TEST_F(Deltree, TakesUnquotedWordsAsOnePath) {
  EXPECT_EQ(0u, RunDeltree("/Y " + tree_));
  EXPECT_FALSE(machine::Exists(tree_));
  EXPECT_TRUE(machine::Exists(sibling_ + "\\keep.txt"));
}

TEST_F(Deltree, TakesTheSwitchAfterThePathAndATrailingBackslash) {
  EXPECT_EQ(0u, RunDeltree("\"" + tree_ + "\\\" /y"));
  EXPECT_FALSE(machine::Exists(tree_));
}

TEST_F(Deltree, RemovesSeveralPathsAFileAndWildcardMatches) {
  MakeFile(root_ + "\\a.tmp");
  MakeFile(root_ + "\\b.tmp", FILE_ATTRIBUTE_READONLY);
  MakeFile(root_ + "\\c.txt");
  EXPECT_EQ(0u, RunDeltree("/y \"" + root_ + "\\*.tmp\" \"" + tree_ + "\\CV32W.EXE\""));
  EXPECT_FALSE(machine::Exists(root_ + "\\a.tmp"));
  EXPECT_FALSE(machine::Exists(root_ + "\\b.tmp"));
  EXPECT_TRUE(machine::Exists(root_ + "\\c.txt"));
  EXPECT_FALSE(machine::Exists(tree_ + "\\CV32W.EXE"));
  EXPECT_TRUE(machine::Exists(tree_ + "\\Update"));
}

TEST_F(Deltree, AMissingPathIsNoError) {
  EXPECT_EQ(0u, RunDeltree("/y \"" + root_ + "\\not there\""));
  EXPECT_TRUE(machine::Exists(tree_));
}

TEST_F(Deltree, AsksWithoutSlashY) {
  EXPECT_EQ(0u, RunDeltree("\"" + tree_ + "\"", "n\r\n"));
  EXPECT_TRUE(machine::Exists(tree_ + "\\CV32W.EXE"));
  EXPECT_EQ(0u, RunDeltree("\"" + tree_ + "\"", "y\r\n"));
  EXPECT_FALSE(machine::Exists(tree_));
}

TEST_F(Deltree, RefusesABadCommandLineAndTouchesNothing) {
  EXPECT_EQ(2u, RunDeltree("/y"));
  EXPECT_EQ(2u, RunDeltree("/q \"" + tree_ + "\""));
  EXPECT_TRUE(machine::Exists(tree_ + "\\CV32W.EXE"));
}

TEST_F(Deltree, ReportsWhatCouldNotBeRemoved) {
  const std::string openFile = tree_ + "\\Update\\open.dat";
  MakeFile(openFile);
  HANDLE held = CreateFileA(openFile.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(1u, RunDeltree("/y \"" + tree_ + "\""));
  CloseHandle(held);
  EXPECT_TRUE(machine::Exists(openFile));
  EXPECT_FALSE(machine::Exists(tree_ + "\\VProtect"));
}

// The arguments of a line, as "p:<path>" and "o:<switch>".
std::vector<std::string> ArgumentsOf(const char* line) {
  std::vector<std::string> out;
  for (deltree::Argument a = deltree::NextArgument(&line); a.kind != deltree::Kind::End;
       a = deltree::NextArgument(&line)) {
    out.push_back((a.kind == deltree::Kind::Path ? "p:" : "o:") + std::string(a.text, a.length));
  }
  return out;
}

TEST(DeltreeCommandLine, SplitsSwitchesAndPaths) {
  EXPECT_EQ((std::vector<std::string>{"o:/y", "p:C:\\Program Files\\Corvane"}),
            ArgumentsOf(" /y C:\\Program Files\\Corvane  "));
  EXPECT_EQ((std::vector<std::string>{"p:C:\\a b", "p:C:\\c", "o:/Y", "p:d", "o:/x", "p:e"}),
            ArgumentsOf("\"C:\\a b\" C:\\c /Y \"d\" /x e"));
  EXPECT_EQ((std::vector<std::string>{"p:C:\\a/b", "p:"}), ArgumentsOf("C:\\a/b \"\""));
  EXPECT_TRUE(ArgumentsOf("   ").empty());
}

TEST(DeltreeCommandLine, KnowsTheYesSwitch) {
  for (const char* yes : {"/y", "/Y"}) {
    const char* p = yes;
    EXPECT_TRUE(deltree::IsYesSwitch(deltree::NextArgument(&p)));
  }
  for (const char* other : {"/yes", "/", "y", "\"/y\""}) {
    const char* p = other;
    EXPECT_FALSE(deltree::IsYesSwitch(deltree::NextArgument(&p))) << other;
  }
}

}  // namespace
