// CV32W.EXE and Schedule.EXE under Wine: their window names the product, its
// version and the install folder (recorded or their own), they end when
// closed, and CV32W's scan of a folder through the real Corvane.dll treats
// what the user says yes to, and is not run with an incomplete library.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/samples.h"
#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/text.h"
#include "support/ui.h"

namespace {

const char kMainClass[] = "Corvane_CV32W";
const char kMainTitle[] = "코르바네™";
const char kScheduleClass[] = "Corvane_Schedule";
const char kScheduleTitle[] = "코르바네™ 예약 검사";
const char kVirusFoundTitle[] = "바이러스 발견";
constexpr int kInfoTextId = 100;
constexpr int kScanButtonId = 101;
constexpr int kFindingsListId = 102;
constexpr int kStatusTextId = 103;
constexpr DWORD kStartMs = 20000;

std::string ControlText(HWND window, int id) { return ui::Title(ui::Item(window, id)); }

// Wine passes LB_GETTEXT between processes in its wide form only.
std::vector<std::string> ListLines(HWND window) {
  HWND list = GetDlgItem(window, kFindingsListId);
  std::vector<std::string> lines;
  int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t wide[1024] = L"";
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 1024)
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    char line[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, line, sizeof line, NULL, NULL);
    lines.push_back(line);
  }
  return lines;
}

// The folder browser is on screen before it has built its tree and selected
// the folder it was asked to open on: waits until its selection holds still.
bool SelectionSettled(HWND browser, int polls) {
  constexpr int kStillPolls = 6;
  HTREEITEM last = NULL;
  int still = 0;
  for (int poll = 0; poll < polls; ++poll, Sleep(50)) {
    HWND tree = FindWindowExA(browser, NULL, WC_TREEVIEWA, NULL);
    HTREEITEM caret = tree ? TreeView_GetSelection(tree) : NULL;
    still = caret && caret == last ? still + 1 : 0;
    last = caret;
    if (still == kStillPolls) return true;
  }
  return false;
}

// Each test gets a folder of its own in TEMP with the programs in it, and no
// install record; the record there was before is put back afterwards.
class ProductPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = machine::Profile("Corvane", "Install");
    machine::SetProfile("Corvane", "Install", nullptr);
    // ctest starts the test deep in the build tree on Wine's Z: drive; from
    // there the shell's folder browser in the started program never settles
    // its selection.  A current folder on C: keeps the browser's view short.
    SetCurrentDirectoryA(machine::TempFolder().c_str());
    folder_ = machine::TempFolder() + "코르바네 제품 " + std::to_string(GetCurrentProcessId()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    machine::MakeFolders(folder_);
    for (const char* program : {"CV32W.EXE", "Schedule.EXE"})
      ASSERT_TRUE(CopyFileA((std::string(CORVANE_BIN_DIR) + "/" + program).c_str(), Path(program).c_str(), FALSE));
  }
  void TearDown() override {
    program_.reset();
    machine::SetProfile("Corvane", "Install", record_ ? record_->c_str() : nullptr);
    machine::DeleteTree(folder_);
  }

  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

  void AddEngine() { ASSERT_TRUE(CopyFileA(CORVANE_BIN_DIR "/Corvane.dll", Path("Corvane.dll").c_str(), FALSE)); }

  // The real engine with the export `name` renamed, so that the library
  // loads but lacks it.  The export name table holds the names one after
  // another, each ending in a zero byte; the last letter becomes 'X', which
  // keeps them sorted for the names used here.
  void AddEngineWithout(const std::string& name) {
    std::string library = machine::ReadFile(CORVANE_BIN_DIR "/Corvane.dll").value_or("");
    const std::string wanted = '\0' + name + '\0';
    size_t at = library.find(wanted);
    ASSERT_NE(std::string::npos, at) << name;
    ASSERT_EQ(std::string::npos, library.find(wanted, at + 1)) << name;
    library[at + name.size()] = 'X';
    ASSERT_TRUE(machine::WriteFile(Path("Corvane.dll"), library));
  }

  // Answers the virus questions, each a Yes/No box, until the status line
  // says the scan is complete; `answer` gives the button for a question.
  // `questions` gets them in the order asked.
  void AnswerUntilComplete(HWND window, const std::function<int(const std::string&)>& answer,
                           std::vector<std::string>* questions) {
    for (DWORD waited = 0; !text::StartsWith(ControlText(window, kStatusTextId), "검사 완료") && waited < 30000;) {
      ui::MessageBoxView box;
      if (!ui::WaitMessageBox(program_->Id(), kVirusFoundTitle, 200, &box)) {
        waited += 200;
        continue;
      }
      questions->push_back(box.text);
      EXPECT_NE(nullptr, ui::Item(box.hwnd, IDYES));
      EXPECT_NE(nullptr, ui::Item(box.hwnd, IDNO));
      EXPECT_EQ(nullptr, ui::Item(box.hwnd, IDCANCEL));
      ASSERT_TRUE(ui::Answer(box, answer(box.text)));
    }
  }

  // The box and the status line that say that there is no engine to scan
  // with; the scan button works again.
  void ExpectNoEngineTold(HWND window) {
    ui::MessageBoxView box;
    ASSERT_TRUE(ui::WaitMessageBox(program_->Id(), "코르바네™ for Win95/98", 10000, &box));
    EXPECT_EQ("Corvane.dll이 없어 바이러스를 검사할 수 없습니다.", box.text);
    ASSERT_TRUE(ui::Answer(box, IDOK));
    EXPECT_EQ("Corvane.dll이 없어 바이러스를 검사할 수 없습니다.", ControlText(window, kStatusTextId));
    // The program enables the button once its MessageBoxA has returned, which
    // the answer above does not wait for.
    EXPECT_TRUE(ui::WaitUntil([&] { return ui::Enabled(window, kScanButtonId); }, 5000));
  }

  // Starts a program of the folder and waits for its window.
  HWND Run(const std::string& program, const char* className, const char* title, const std::string& arguments = "") {
    program_.reset(new machine::Process);
    std::string command = "\"" + Path(program) + "\"" + (arguments.empty() ? "" : " " + arguments);
    if (!program_->Start(command, folder_)) return NULL;
    return ui::WaitVisible(program_->Id(), className, title, kStartMs);
  }

  // Closes the window; the program must end with code 0.
  void CloseAndExpectCleanEnd(HWND window) {
    ui::CloseMessage(window);
    DWORD code = 0xDEAD;
    ASSERT_TRUE(program_->WaitEnd(10000, &code));
    EXPECT_EQ(0u, code);
  }

  // Presses the scan button and OK in the folder browser, which opens on the
  // folder given at start (the install folder).
  void ScanViaBrowser(HWND window) {
    ASSERT_TRUE(ui::Click(window, kScanButtonId));
    HWND browser = ui::WaitVisible(program_->Id(), ui::kDialogClass, nullptr, kStartMs);
    ASSERT_NE(nullptr, browser);
    // Under load Wine's browser sometimes drops the selection that the
    // program asks for as it opens; ask again, as the program does, from the
    // program's own memory.
    if (!SelectionSettled(browser, 60)) ui::SendWithText(browser, BFFM_SETSELECTIONA, TRUE, folder_);
    ASSERT_TRUE(SelectionSettled(browser, 200));
    ui::Click(browser, IDOK);
    ASSERT_TRUE(ui::WaitGone(browser, 5000));
  }

  std::string folder_;
  std::unique_ptr<machine::Process> program_;

 private:
  std::optional<std::string> record_;
};

TEST_F(ProductPrograms, AreWindowsProgramsThatWindows95Loads) {
  for (const char* program : {"CV32W.EXE", "Schedule.EXE"}) {
    std::optional<IMAGE_NT_HEADERS32> nt = machine::ImageHeaders(Path(program));
    ASSERT_TRUE(nt) << program;
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem) << program;
    EXPECT_EQ(4, nt->OptionalHeader.MajorSubsystemVersion) << program;
    EXPECT_EQ(0, nt->OptionalHeader.MinorSubsystemVersion) << program;
  }
}

TEST_F(ProductPrograms, MainProgramWithoutRecordShowsItsOwnFolderAndEndsWhenClosed) {
  HWND window = Run("CV32W.EXE", kMainClass, kMainTitle);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ("코르바네™ for Win95/98\r\n버전 1.0\r\n설치 폴더: " + folder_, ControlText(window, kInfoTextId));
  CloseAndExpectCleanEnd(window);
}

TEST_F(ProductPrograms, ScheduledScanShowsTheRecordedFolderAndTasksLeftBySetup) {
  WriteProfileStringA("Corvane", "Install", "D:\\Apps\\Corvane");
  WriteProfileStringA("Corvane", "PendingTasks", "8");
  HWND window = Run("Schedule.EXE", kScheduleClass, kScheduleTitle);
  WriteProfileStringA("Corvane", "PendingTasks", NULL);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ("코르바네™ for Win95/98\r\n버전 1.0\r\n설치 폴더: D:\\Apps\\Corvane\r\n남은 설치 작업: 복구 디스크 만들기",
            ControlText(window, kInfoTextId));
  CloseAndExpectCleanEnd(window);
}

TEST_F(ProductPrograms, MainProgramScansTheChosenFolderAndTreatsWhatTheUserSaysYesTo) {
  AddEngine();
  const std::string original = "MZ original program of the user, long enough to be infected twice over.";
  ASSERT_TRUE(machine::WriteFile(Path("clean.txt"), "nothing here"));
  ASSERT_TRUE(machine::WriteFile(Path("eicar.com"), MakeEicarFile("\r\n")));
  ASSERT_TRUE(machine::WriteFile(Path("nested.exe"), InfectCloak(InfectMender(original))));
  const std::string smeared = InfectSmear(original);
  ASSERT_TRUE(machine::WriteFile(Path("smear.exe"), smeared));
  const std::string inert = InfectInert(original);
  ASSERT_TRUE(machine::WriteFile(Path("inert.exe"), inert));

  HWND window = Run("CV32W.EXE", kMainClass, kMainTitle);
  ASSERT_NE(nullptr, window);
  ScanViaBrowser(window);

  // Yes to everything but the smeared file.
  std::vector<std::string> questions;
  auto answer = [](const std::string& question) {
    return question.find("smear.exe") != std::string::npos ? IDNO : IDYES;
  };
  ASSERT_NO_FATAL_FAILURE(AnswerUntilComplete(window, answer, &questions));
  EXPECT_EQ(4u, questions.size());
  EXPECT_EQ("검사 완료: 파일 8개, 바이러스 4개 (복구 2, 삭제 1)", ControlText(window, kStatusTextId));

  std::vector<std::string> lines = ListLines(window);
  auto listed = [&](const std::string& line) {
    for (const std::string& l : lines)
      if (l == line) return true;
    return false;
  };
  EXPECT_EQ(4u, lines.size());
  EXPECT_TRUE(listed(Path("eicar.com") + ": EICAR-Test-File - 삭제했습니다"));
  EXPECT_TRUE(listed(Path("nested.exe") + ": CvTest.Cloak - 복구했습니다"));
  EXPECT_TRUE(listed(Path("nested.exe") + ": CvTest.Mender - 복구했습니다"));
  EXPECT_TRUE(listed(Path("smear.exe") + ": CvTest.Smear - 치료하지 않았습니다"));

  EXPECT_FALSE(machine::Exists(Path("eicar.com")));
  EXPECT_EQ(original, machine::ReadFile(Path("nested.exe")));
  EXPECT_EQ(smeared, machine::ReadFile(Path("smear.exe")));
  EXPECT_EQ(inert, machine::ReadFile(Path("inert.exe")));
  EXPECT_EQ("nothing here", machine::ReadFile(Path("clean.txt")));
  CloseAndExpectCleanEnd(window);
}

TEST_F(ProductPrograms, MainProgramSaysSoWhenCorvaneDllIsMissing) {
  HWND window = Run("CV32W.EXE", kMainClass, kMainTitle);
  ASSERT_NE(nullptr, window);
  ScanViaBrowser(window);
  ASSERT_NO_FATAL_FAILURE(ExpectNoEngineTold(window));
  CloseAndExpectCleanEnd(window);
}

// Never switched on, the engine finds nothing: a scan with it would pass
// every file for clean.
TEST_F(ProductPrograms, MainProgramDoesNotScanWithAnEngineLackingTurnOn) {
  ASSERT_NO_FATAL_FAILURE(AddEngineWithout("dlTurnOnCorvane"));
  const std::string eicar = MakeEicarFile("\r\n");
  ASSERT_TRUE(machine::WriteFile(Path("eicar.com"), eicar));
  HWND window = Run("CV32W.EXE", kMainClass, kMainTitle);
  ASSERT_NE(nullptr, window);
  ScanViaBrowser(window);
  ASSERT_NO_FATAL_FAILURE(ExpectNoEngineTold(window));
  EXPECT_EQ(eicar, machine::ReadFile(Path("eicar.com")));
  CloseAndExpectCleanEnd(window);
}

// Infections nest without limit: every layer is offered in turn until the
// file is clean.
TEST_F(ProductPrograms, MainProgramOffersEveryLayerOfADeeplyNestedFile) {
  AddEngine();
  constexpr int kLayers = 20;
  const std::string original = "MZ original program of the user, infected layer upon layer.";
  std::string infected = original;
  for (int layer = 0; layer < kLayers; ++layer) infected = InfectCloak(infected);
  ASSERT_TRUE(machine::WriteFile(Path("deep.exe"), infected));

  HWND window = Run("CV32W.EXE", kMainClass, kMainTitle);
  ASSERT_NE(nullptr, window);
  ScanViaBrowser(window);
  std::vector<std::string> questions;
  ASSERT_NO_FATAL_FAILURE(AnswerUntilComplete(window, [](const std::string&) { return IDYES; }, &questions));
  EXPECT_EQ(static_cast<size_t>(kLayers), questions.size());
  EXPECT_EQ("검사 완료: 파일 4개, 바이러스 20개 (복구 20, 삭제 0)", ControlText(window, kStatusTextId));
  std::vector<std::string> lines = ListLines(window);
  EXPECT_EQ(std::vector<std::string>(kLayers, Path("deep.exe") + ": CvTest.Cloak - 복구했습니다"), lines);
  EXPECT_EQ(original, machine::ReadFile(Path("deep.exe")));
  CloseAndExpectCleanEnd(window);
}

TEST_F(ProductPrograms, ScheduledScanWithTheTaskSwitchScansTheWindowsFolderAtOnce) {
  AddEngine();
  HWND window = Run("Schedule.EXE", kScheduleClass, kScheduleTitle, "/SCAN");
  ASSERT_NE(nullptr, window);
  std::string status;
  ui::WaitUntil([&] { return text::StartsWith(status = ControlText(window, kStatusTextId), "검사 완료"); }, 30000, 50);
  EXPECT_TRUE(text::StartsWith(status, "검사 완료: 파일 ")) << status;
  EXPECT_FALSE(text::StartsWith(status, "검사 완료: 파일 0개")) << status;
  CloseAndExpectCleanEnd(window);
}

}  // namespace
