// Stopping programs of an earlier installation: real processes started from
// the recorded folder, a sibling folder, elsewhere, and an uninstaller.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/stop_processes.h"

namespace {

struct Running {
  std::string path;
  PROCESS_INFORMATION pi;
};

class StopProcessesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (Running& r : running_) {
      TerminateProcess(r.pi.hProcess, 0);
      CloseHandle(r.pi.hProcess);
      CloseHandle(r.pi.hThread);
    }
    WriteProfileStringA("Corvane", "Install", NULL);
  }

  // Copies the sleeper to `path` (making its folder) and starts it there.
  Running& Start(const std::string& path) {
    std::string folder = path.substr(0, path.rfind('\\'));
    for (std::size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
      CreateDirectoryA(folder.substr(0, at).c_str(), NULL);
    CreateDirectoryA(folder.c_str(), NULL);
    EXPECT_TRUE(CopyFileA(CORVANE_BIN_DIR "/sleeper.exe", path.c_str(), FALSE)) << path;
    running_.push_back({path, {}});
    Running& r = running_.back();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string command = "\"" + path + "\"";
    EXPECT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si,
                               &r.pi))
        << path;
    WaitForInputIdle(r.pi.hProcess, 2000);
    Sleep(300);
    return r;
  }

  static bool Ended(const Running& r, DWORD* code) {
    if (WaitForSingleObject(r.pi.hProcess, 2000) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(r.pi.hProcess, code);
    return true;
  }

  std::vector<Running> running_;
};

TEST_F(StopProcessesTest, DefaultFolderSiblingElsewhereAndUninstaller) {
  WriteProfileStringA("Corvane", "Install", NULL);  // no record: the default folder
  running_.reserve(8);
  Running& product = Start("C:\\Program Files\\Corvane\\cv32w.exe");
  Running& nested = Start("C:\\Program Files\\Corvane\\Update\\upd.exe");
  Running& sibling = Start("C:\\Program Files\\Corvane2\\other.exe");
  Running& elsewhere = Start("C:\\Elsewhere\\cv32w.exe");
  Running& uninstaller = Start("C:\\Program Files\\Corvane\\Unsetup.exe");

  StopProductProcesses();

  DWORD code = 0;
  EXPECT_TRUE(Ended(product, &code));
  EXPECT_EQ(code, 0xFFFFFFFFu);
  EXPECT_TRUE(Ended(nested, &code));
  EXPECT_TRUE(Ended(sibling, &code));  // the folder test is a substring test
  EXPECT_FALSE(Ended(elsewhere, &code));
  EXPECT_FALSE(Ended(uninstaller, &code));  // UNSETUP.EXE contains SETUP.EXE
}

TEST_F(StopProcessesTest, RecordedFolderInAnyCase) {
  WriteProfileStringA("Corvane", "Install", "c:\\apps\\CORVANE");
  running_.reserve(4);
  Running& product = Start("C:\\Apps\\Corvane\\Schedule.EXE");
  Running& defaultPlace = Start("C:\\Program Files\\Corvane\\cv32w.exe");
  StopProductProcesses();
  DWORD code = 0;
  EXPECT_TRUE(Ended(product, &code));
  EXPECT_FALSE(Ended(defaultPlace, &code));  // only the recorded folder counts
}

TEST_F(StopProcessesTest, EmptyOrRefusedRecordEndsNothing) {
  running_.reserve(2);
  Running& any = Start("C:\\Elsewhere\\any.exe");
  // "C:\" is in the path of every program on drive C:, the shell's included.
  for (const char* record : {"", "C:\\"}) {
    WriteProfileStringA("Corvane", "Install", record);
    StopProductProcesses();
    DWORD code = 0;
    EXPECT_FALSE(Ended(any, &code)) << record;
  }
}

}  // namespace
