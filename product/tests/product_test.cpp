// The placeholder product programs under Wine: each, started from a folder
// of its own, shows a window with the product's name, version and that
// folder, and ends with exit code 0 when the window is closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string program_folder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.rfind('\\'));
}

// The executable's subsystem and its version from the PE header.
struct PeFacts {
  WORD subsystem = 0;
  WORD major = 0, minor = 0;
};

PeFacts pe_facts(const std::string& path) {
  PeFacts facts;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (f == INVALID_HANDLE_VALUE) return facts;
  std::vector<char> head(4096);
  DWORD got = 0;
  ReadFile(f, head.data(), static_cast<DWORD>(head.size()), &got, NULL);
  CloseHandle(f);
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
  if (got < sizeof *dos || dos->e_lfanew <= 0 || dos->e_lfanew + sizeof(IMAGE_NT_HEADERS32) > got) return facts;
  const IMAGE_NT_HEADERS32* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(head.data() + dos->e_lfanew);
  facts.subsystem = nt->OptionalHeader.Subsystem;
  facts.major = nt->OptionalHeader.MajorSubsystemVersion;
  facts.minor = nt->OptionalHeader.MinorSubsystemVersion;
  return facts;
}

struct Found {
  DWORD process_id;
  HWND window;
};

BOOL CALLBACK find_top_window(HWND window, LPARAM data) {
  Found* found = reinterpret_cast<Found*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != found->process_id || !IsWindowVisible(window)) return TRUE;
  found->window = window;
  return FALSE;
}

std::string window_text(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct Program {
  const char* file;
  const char* title;
};

class ProductProgram : public ::testing::TestWithParam<Program> {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "코르바네 product " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), NULL);
    path = folder + "\\" + GetParam().file;
    ASSERT_TRUE(CopyFileA((program_folder() + "\\" + GetParam().file).c_str(), path.c_str(), FALSE));
  }
  void TearDown() override {
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
  }
  std::string folder, path;
};

TEST_P(ProductProgram, IsAWindowsProgramThatWindows95Loads) {
  const PeFacts facts = pe_facts(path);
  EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, facts.subsystem);
  EXPECT_EQ(4, facts.major);
  EXPECT_EQ(0, facts.minor);
}

TEST_P(ProductProgram, ShowsNameVersionAndFolderAndEndsWhenClosed) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  std::vector<char> line(path.begin(), path.end());
  line.push_back('\0');
  ASSERT_TRUE(CreateProcessA(path.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup,
                             &process));
  WaitForInputIdle(process.hProcess, 20000);
  Found found = {process.dwProcessId, NULL};
  for (int i = 0; i < 200 && found.window == NULL; ++i) {
    EnumWindows(find_top_window, reinterpret_cast<LPARAM>(&found));
    if (found.window == NULL) Sleep(50);
  }
  ASSERT_NE(nullptr, found.window);

  EXPECT_EQ(GetParam().title, window_text(found.window));
  HWND text = FindWindowExA(found.window, NULL, "Static", NULL);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ("코르바네™ for Win95/98\r\n버전 1.0\r\n" + folder, window_text(text));

  PostMessageA(found.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 20000));
  DWORD code = 0xDEAD;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(0u, code);
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

INSTANTIATE_TEST_SUITE_P(Placeholders, ProductProgram,
                         ::testing::Values(Program{"CV32W.EXE", "코르바네™ 바이러스 검사"},
                                           Program{"Schedule.EXE", "코르바네™ 예약검사"},
                                           Program{"Unsetup.exe", "코르바네™ 제거"}),
                         [](const ::testing::TestParamInfo<Program>& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
