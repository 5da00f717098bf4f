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

void make_file(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  ASSERT_TRUE(machine::WriteFile(path, "data")) << path;
  SetFileAttributesA(path.c_str(), attributes);
}

void make_folder(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), NULL)) << path; }

// Runs DELTREE.EXE with the given arguments and stdin text; its exit code.
DWORD run_deltree(const std::string& arguments, const std::string& input = "") {
  machine::Launch launch;
  launch.command_line = "\"" + machine::Join(machine::ProgramFolder(), "DELTREE.EXE") + "\" " + arguments;
  launch.input = input;
  return machine::RunToEnd(launch, 60000);
}

class Deltree : public ::testing::Test {
 protected:
  void SetUp() override {
    root = machine::TempFolder() + "cv deltree " + std::to_string(GetCurrentProcessId());
    run_deltree("/y \"" + root + "\"");
    make_folder(root);
    // The tree to remove: blanks and Korean in names, nested folders, files
    // that are read-only, hidden and system.
    tree = root + "\\Program Files\\코르바네 Corvane";
    make_folder(root + "\\Program Files");
    make_folder(tree);
    make_folder(tree + "\\VProtect");
    make_folder(tree + "\\VProtect\\deep");
    make_folder(tree + "\\Update");
    make_file(tree + "\\CV32W.EXE", FILE_ATTRIBUTE_READONLY);
    make_file(tree + "\\VProtect\\hidden.dat", FILE_ATTRIBUTE_HIDDEN);
    make_file(tree + "\\VProtect\\deep\\system.dat", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    make_file(tree + "\\예약검사.LNK");
    // A sibling whose name begins with the tree's name must survive.
    sibling = tree + "2";
    make_folder(sibling);
    make_file(sibling + "\\keep.txt");
  }

  void TearDown() override { run_deltree("/y \"" + root + "\""); }

  std::string root, tree, sibling;
};

TEST_F(Deltree, RemovesAQuotedTreeAndNothingBesideIt) {
  EXPECT_EQ(0u, run_deltree("/y \"" + tree + "\""));
  EXPECT_FALSE(machine::Exists(tree));
  EXPECT_TRUE(machine::Exists(sibling + "\\keep.txt"));
  EXPECT_TRUE(machine::Exists(root + "\\Program Files"));
}

TEST_F(Deltree, TakesUnquotedWordsAsOnePath) {
  EXPECT_EQ(0u, run_deltree("/Y " + tree));
  EXPECT_FALSE(machine::Exists(tree));
  EXPECT_TRUE(machine::Exists(sibling + "\\keep.txt"));
}

TEST_F(Deltree, TakesTheSwitchAfterThePathAndATrailingBackslash) {
  EXPECT_EQ(0u, run_deltree("\"" + tree + "\\\" /y"));
  EXPECT_FALSE(machine::Exists(tree));
}

TEST_F(Deltree, RemovesSeveralPathsAFileAndWildcardMatches) {
  make_file(root + "\\a.tmp");
  make_file(root + "\\b.tmp", FILE_ATTRIBUTE_READONLY);
  make_file(root + "\\c.txt");
  EXPECT_EQ(0u, run_deltree("/y \"" + root + "\\*.tmp\" \"" + tree + "\\CV32W.EXE\""));
  EXPECT_FALSE(machine::Exists(root + "\\a.tmp"));
  EXPECT_FALSE(machine::Exists(root + "\\b.tmp"));
  EXPECT_TRUE(machine::Exists(root + "\\c.txt"));
  EXPECT_FALSE(machine::Exists(tree + "\\CV32W.EXE"));
  EXPECT_TRUE(machine::Exists(tree + "\\Update"));
}

TEST_F(Deltree, AMissingPathIsNoError) {
  EXPECT_EQ(0u, run_deltree("/y \"" + root + "\\not there\""));
  EXPECT_TRUE(machine::Exists(tree));
}

TEST_F(Deltree, AsksWithoutSlashY) {
  EXPECT_EQ(0u, run_deltree("\"" + tree + "\"", "n\r\n"));
  EXPECT_TRUE(machine::Exists(tree + "\\CV32W.EXE"));
  EXPECT_EQ(0u, run_deltree("\"" + tree + "\"", "y\r\n"));
  EXPECT_FALSE(machine::Exists(tree));
}

TEST_F(Deltree, RefusesABadCommandLineAndTouchesNothing) {
  EXPECT_EQ(2u, run_deltree("/y"));
  EXPECT_EQ(2u, run_deltree("/q \"" + tree + "\""));
  EXPECT_TRUE(machine::Exists(tree + "\\CV32W.EXE"));
}

TEST_F(Deltree, ReportsWhatCouldNotBeRemoved) {
  const std::string open_file = tree + "\\Update\\open.dat";
  make_file(open_file);
  HANDLE held = CreateFileA(open_file.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(1u, run_deltree("/y \"" + tree + "\""));
  CloseHandle(held);
  EXPECT_TRUE(machine::Exists(open_file));
  EXPECT_FALSE(machine::Exists(tree + "\\VProtect"));
}

// The arguments of a line, as "p:<path>" and "o:<switch>".
std::vector<std::string> arguments_of(const char* line) {
  std::vector<std::string> out;
  for (deltree::Argument a = deltree::next_argument(&line); a.kind != deltree::Kind::end;
       a = deltree::next_argument(&line)) {
    out.push_back((a.kind == deltree::Kind::path ? "p:" : "o:") + std::string(a.text, a.length));
  }
  return out;
}

TEST(DeltreeCommandLine, SplitsSwitchesAndPaths) {
  EXPECT_EQ((std::vector<std::string>{"o:/y", "p:C:\\Program Files\\Corvane"}),
            arguments_of(" /y C:\\Program Files\\Corvane  "));
  EXPECT_EQ((std::vector<std::string>{"p:C:\\a b", "p:C:\\c", "o:/Y", "p:d", "o:/x", "p:e"}),
            arguments_of("\"C:\\a b\" C:\\c /Y \"d\" /x e"));
  EXPECT_EQ((std::vector<std::string>{"p:C:\\a/b", "p:"}), arguments_of("C:\\a/b \"\""));
  EXPECT_TRUE(arguments_of("   ").empty());
}

TEST(DeltreeCommandLine, KnowsTheYesSwitch) {
  for (const char* yes : {"/y", "/Y"}) {
    const char* p = yes;
    EXPECT_TRUE(deltree::is_yes_switch(deltree::next_argument(&p)));
  }
  for (const char* other : {"/yes", "/", "y", "\"/y\""}) {
    const char* p = other;
    EXPECT_FALSE(deltree::is_yes_switch(deltree::next_argument(&p))) << other;
  }
}

TEST(DeltreeCommandLine, SkipsAQuotedOrPlainProgramName) {
  EXPECT_STREQ(" /y x", deltree::skip_program_name("\"C:\\WINDOWS\\COMMAND\\DELTREE.EXE\" /y x"));
  EXPECT_STREQ(" /y x", deltree::skip_program_name("deltree /y x"));
  EXPECT_STREQ("", deltree::skip_program_name("deltree"));
}

}  // namespace
