// MemChk.exe under Wine: a windowed program (no console) that ends by itself
// with exit code 0 and leaves this computer's memory figures in win.ini.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"

namespace {

std::string MemchkPath() { return machine::Join(machine::ProgramFolder(), "MemChk.exe"); }

TEST(MemChk, IsAWindowsProgramThatWindows95Loads) {
  std::optional<IMAGE_NT_HEADERS32> nt = machine::ImageHeaders(MemchkPath());
  ASSERT_TRUE(nt);
  EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem);
  EXPECT_EQ(4, nt->OptionalHeader.MajorSubsystemVersion);
  EXPECT_EQ(0, nt->OptionalHeader.MinorSubsystemVersion);
}

TEST(MemChk, RecordsTotalAndFreeMemoryAndEnds) {
  machine::SetProfile("Corvane", "MemCheck", nullptr);
  machine::Launch launch;
  launch.commandLine = MemchkPath();
  launch.show = SW_HIDE;  // as setup's WinExec(..., SW_HIDE) starts it
  const DWORD code = machine::RunToEnd(launch, 20000);
  ASSERT_NE(machine::kNoExitCode, code);
  EXPECT_EQ(0u, code);

  const std::string value = machine::Profile("Corvane", "MemCheck").value_or("");
  // The prefix is shared with other tests: leave win.ini as it was.
  machine::SetProfile("Corvane", "MemCheck", nullptr);
  char* slash = nullptr;
  const unsigned long total = std::strtoul(value.c_str(), &slash, 10);
  ASSERT_EQ('/', *slash) << value;
  char* end = nullptr;
  const unsigned long freeKb = std::strtoul(slash + 1, &end, 10);
  EXPECT_EQ('\0', *end) << value;

  MEMORYSTATUS status;
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwTotalPhys / 1024, total);
  EXPECT_GT(freeKb, 0u);
  EXPECT_LE(freeKb, total);
}

}  // namespace
