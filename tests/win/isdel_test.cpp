// _ISDEL.EXE started as setup leaves it to run: it takes Setup.run from the
// recorded install folder, and touches nothing when the record names a
// drive root or a folder that Windows keeps.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"

namespace {

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
    ASSERT_TRUE(machine::WriteFile(c.taskFile, std::string(1, '\0'))) << c.taskFile;
    machine::SetProfile("Corvane", "Install", c.record);
    machine::Process isdel;
    EXPECT_TRUE(isdel.Start("\"" CORVANE_BIN_DIR "/_ISDEL.EXE\"") && isdel.WaitEnd(20000));
    EXPECT_EQ(c.taken, !machine::Exists(c.taskFile)) << c.record;
    DeleteFileA(c.taskFile);
  }
  machine::SetProfile("Corvane", "Install", nullptr);
  RemoveDirectoryA("C:\\Isdel Test");
}

}  // namespace
