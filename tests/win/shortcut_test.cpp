// Shell link files written by CreateShortcut, loaded back through the shell.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "install/shortcut.h"
#include "install/shortcut_defaults.h"

namespace {

class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    dir_ = std::string(temp) + "shortcut_test";
    CreateDirectoryA(dir_.c_str(), NULL);
    CoInitialize(NULL);
  }
  void TearDown() override { CoUninitialize(); }

  bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  struct Loaded {
    std::string path, directory, description, arguments;
  };

  Loaded Load(const std::string& link) {
    Loaded l;
    IShellLinkA* shell = NULL;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER,
                                              IID_IShellLinkA, reinterpret_cast<void**>(&shell)));
    if (!shell) return l;
    IPersistFile* file = NULL;
    shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    WCHAR wide[MAX_PATH * 2];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH * 2);
    EXPECT_HRESULT_SUCCEEDED(file->Load(wide, STGM_READ));
    char buf[1024] = "";
    shell->GetPath(buf, sizeof buf, NULL, SLGP_RAWPATH);
    l.path = buf;
    buf[0] = 0;
    shell->GetWorkingDirectory(buf, sizeof buf);
    l.directory = buf;
    buf[0] = 0;
    shell->GetDescription(buf, sizeof buf);
    l.description = buf;
    buf[0] = 0;
    shell->GetArguments(buf, sizeof buf);
    l.arguments = buf;
    file->Release();
    shell->Release();
    return l;
  }

  std::string dir_;
};

TEST_F(ShortcutTest, DerivesDescriptionAndWorkingDirectory) {
  std::string link = dir_ + "\\코르바네.LNK";
  ASSERT_EQ(CreateShortcut("C:\\Program Files\\Corvane\\CV32W.EXE", link.c_str(), NULL, NULL,
                           NULL, NULL, 0),
            kShortcutWritten);
  Loaded l = Load(link);
  EXPECT_EQ(l.path, "C:\\Program Files\\Corvane\\CV32W.EXE");
  EXPECT_EQ(l.directory, "C:\\Program Files\\Corvane");
  EXPECT_EQ(l.description, dir_ + "\\코르바네");
}

TEST_F(ShortcutTest, GivenValuesAreTakenAsTheyAre) {
  std::string link = dir_ + "\\given.lnk";
  ASSERT_EQ(CreateShortcut("C:\\CV32W.EXE", link.c_str(), "설명", "/scan C:\\", "D:\\Work",
                           "C:\\CV32W.EXE", 1),
            kShortcutWritten);
  Loaded l = Load(link);
  EXPECT_EQ(l.description, "설명");
  EXPECT_EQ(l.directory, "D:\\Work");
  EXPECT_EQ(l.arguments, "/scan C:\\");
}

TEST_F(ShortcutTest, RootTargetGetsTheDriveAsDirectory) {
  std::string link = dir_ + "\\root.LNK";
  ASSERT_EQ(CreateShortcut("C:\\CV32W.EXE", link.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutWritten);
  EXPECT_EQ(Load(link).directory, "C:");
}

TEST_F(ShortcutTest, RefusalsWriteNothing) {
  std::string noLnk = dir_ + "\\plain.txt";
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", noLnk.c_str(), NULL, NULL, NULL, NULL, 0), kShortcutNotLnk);
  EXPECT_FALSE(Exists(noLnk));

  std::string bare = dir_ + "\\bare.LNK";
  EXPECT_EQ(CreateShortcut("CV32W.EXE", bare.c_str(), NULL, NULL, NULL, NULL, 0), kShortcutNoFolder);
  EXPECT_EQ(CreateShortcut("\\CV32W.EXE", bare.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutNoFolder);
  EXPECT_FALSE(Exists(bare));

  // A derived description needs a link path of at most 260 characters.
  std::string longLink = dir_ + "\\" + std::string(261 - dir_.size() - 1 - 4, 'a') + ".LNK";
  ASSERT_EQ(longLink.size(), 261u);
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", longLink.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutPathTooLong);
  // With a description given, a link path too long for the wide buffer is
  // refused as well instead of being cut.
  std::string veryLong = dir_ + "\\" + std::string(300, 'b') + ".LNK";
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", veryLong.c_str(), "d", NULL, NULL, NULL, 0),
            kShortcutPathTooLong);
}

TEST_F(ShortcutTest, LinkTestBeforeLengthTest) {
  std::string longNoLnk = "C:\\" + std::string(400, 'c') + ".txt";
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", longNoLnk.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutNotLnk);
}

TEST_F(ShortcutTest, MissingFolderFailsTheSave) {
  std::string link = dir_ + "\\no such folder\\x.LNK";
  unsigned r = CreateShortcut("C:\\X.EXE", link.c_str(), NULL, NULL, NULL, NULL, 0);
  EXPECT_TRUE(r == kShortcutFailed || r == kShortcutFail) << std::hex << r;
  EXPECT_FALSE(Exists(link));
}

}  // namespace
