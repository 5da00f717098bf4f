// Stopping programs of an earlier installation: real processes started from
// the recorded folder, sibling folders whose names begin alike, elsewhere,
// and an uninstaller; and the process list that Windows NT 4.0 has instead of
// the toolhelp functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <list>
#include <string>

#include "common/running_programs.h"
#include "install/stop_processes.h"
#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/text.h"
#include "support/ui.h"

namespace {

class StopProcessesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    running_.clear();
    machine::SetProfile("Corvane", "Install", nullptr);
  }

  // Copies the sleeper to `path` (making its folder) and starts it there,
  // then waits until its module snapshot names its program, where the
  // stopping reads the path.
  machine::Process& Start(const std::string& path) {
    std::string folder = machine::FolderOf(path);
    machine::MakeFolders(folder);
    EXPECT_TRUE(CopyFileA(CORVANE_BIN_DIR "/sleeper.exe", path.c_str(), FALSE)) << path;
    machine::Process& started = running_.emplace_back();
    EXPECT_TRUE(started.Start("\"" + path + "\"", folder)) << path;
    EXPECT_TRUE(ui::WaitUntil([&] { return !machine::ProgramPathOf(started.Id()).empty(); }, 10000)) << path;
    return started;
  }

  static bool Ended(const machine::Process& process, DWORD* code) { return process.WaitEnd(2000, code); }

  std::list<machine::Process> running_;
};

TEST_F(StopProcessesTest, DefaultFolderSiblingsElsewhereAndUninstaller) {
  machine::SetProfile("Corvane", "Install", nullptr);  // no record: the default folder
  machine::Process& product = Start("C:\\Program Files\\Corvane\\cv32w.exe");
  machine::Process& nested = Start("C:\\Program Files\\Corvane\\Update\\upd.exe");
  machine::Process& sibling = Start("C:\\Program Files\\Corvane2\\other.exe");
  machine::Process& tools = Start("C:\\Program Files\\Corvane Tools\\editor.exe");
  machine::Process& elsewhere = Start("C:\\Elsewhere\\cv32w.exe");
  machine::Process& uninstaller = Start("C:\\Program Files\\Corvane\\Unsetup.exe");

  StopProductProcesses();

  DWORD code = 0;
  EXPECT_TRUE(Ended(product, &code));
  EXPECT_EQ(code, 0xFFFFFFFFu);
  EXPECT_TRUE(Ended(nested, &code));
  EXPECT_FALSE(Ended(sibling, &code));  // a whole folder, not the start of a name
  EXPECT_FALSE(Ended(tools, &code));
  EXPECT_FALSE(Ended(elsewhere, &code));
  EXPECT_FALSE(Ended(uninstaller, &code));  // UNSETUP.EXE contains SETUP.EXE
}

TEST_F(StopProcessesTest, RecordedFolderInAnyCase) {
  machine::SetProfile("Corvane", "Install", "c:\\apps\\CORVANE");
  machine::Process& product = Start("C:\\Apps\\Corvane\\Schedule.EXE");
  machine::Process& defaultPlace = Start("C:\\Program Files\\Corvane\\cv32w.exe");
  StopProductProcesses();
  DWORD code = 0;
  EXPECT_TRUE(Ended(product, &code));
  EXPECT_FALSE(Ended(defaultPlace, &code));  // only the recorded folder counts
}

TEST_F(StopProcessesTest, EmptyOrRefusedRecordEndsNothing) {
  machine::Process& any = Start("C:\\Elsewhere\\any.exe");
  // "C:\" is in the path of every program on drive C:, the shell's included.
  for (const char* record : {"", "C:\\"}) {
    machine::SetProfile("Corvane", "Install", record);
    StopProductProcesses();
    DWORD code = 0;
    EXPECT_FALSE(Ended(any, &code)) << record;
  }
}

// Wine has both sources whatever version it reports, so the one NT 4.0
// uses is asked for by name: it must find what the toolhelp list finds,
// with each program's full path, which there is no module snapshot to give.
TEST_F(StopProcessesTest, NtProcessListFindsProgramsWithTheirPaths) {
  const std::string paths[] = {"C:\\Program Files\\Corvane\\cv32w.exe",
                               "C:\\Program Files\\코르바네 도구\\Schedule.EXE"};
  std::list<DWORD> ids;
  for (const std::string& path : paths) ids.push_back(Start(path).Id());

  const List<RunningProgram> toolhelp = OtherRunningPrograms(ProcessSource::Toolhelp);
  const List<RunningProgram> nt = OtherRunningPrograms(ProcessSource::NtDll);
  auto find = [](const List<RunningProgram>& list, DWORD id) -> const RunningProgram* {
    for (const RunningProgram& program : list) {
      if (program.id == id) return &program;
    }
    return nullptr;
  };
  auto pathOf = [](const RunningProgram* program) {
    return program ? std::string(program->path.data(), program->path.size()) : std::string("(not listed)");
  };
  auto id = ids.begin();
  for (const std::string& path : paths) {
    EXPECT_TRUE(text::SameText(pathOf(find(nt, *id)), path)) << pathOf(find(nt, *id)) << " for " << path;
    EXPECT_TRUE(text::SameText(pathOf(find(toolhelp, *id)), path)) << pathOf(find(toolhelp, *id)) << " for " << path;
    ++id;
  }
  EXPECT_EQ(find(nt, GetCurrentProcessId()), nullptr) << "the list leaves out the program that asks";
}

}  // namespace
