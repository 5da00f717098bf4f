// _ISDEL.EXE started as setup leaves it to run: it takes Setup.run from the
// recorded install folder, and touches nothing when the record names a
// drive root or a folder that Windows keeps.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

bool RunIsdel() {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  std::string command = "\"" CORVANE_BIN_DIR "/_ISDEL.EXE\"";
  if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return false;
  bool ended = WaitForSingleObject(info.hProcess, 20000) == WAIT_OBJECT_0;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return ended;
}

TEST(Isdel, TakesSetupRunOnlyFromAFolderTheGuardAllows) {
  struct Case {
    const char* record;
    const char* taskFile;
    bool taken;
  };
  CreateDirectoryA("C:\\Isdel Test", NULL);
  for (const Case& c : {Case{"C:\\Isdel Test", "C:\\Isdel Test\\Setup.run", true},
                        Case{"C:\\", "C:\\Setup.run", false},
                        Case{"c:\\windows.", "C:\\windows\\Setup.run", false}}) {
    // A task byte without tasks: read, then removed.
    HANDLE file = CreateFileA(c.taskFile, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << c.taskFile;
    DWORD written = 0;
    WriteFile(file, "\0", 1, &written, NULL);
    CloseHandle(file);
    WriteProfileStringA("Corvane", "Install", c.record);
    EXPECT_TRUE(RunIsdel());
    EXPECT_EQ(c.taken, GetFileAttributesA(c.taskFile) == INVALID_FILE_ATTRIBUTES) << c.record;
    DeleteFileA(c.taskFile);
  }
  WriteProfileStringA("Corvane", "Install", NULL);
  RemoveDirectoryA("C:\\Isdel Test");
}

}  // namespace
