// A virus scan of one folder's files through Corvane.dll.
#include "product/common/engine_scan.h"

#include "product/common/product_window.h"
#include "product/logic/product_text.h"
#include "scan/scan_engine.h"
#include "scan/scan_text.h"

namespace {

const char kVirusFoundTitle[] = "바이러스 발견";
const char kNoEngineText[] = "Corvane.dll이 없어 바이러스를 검사할 수 없습니다.";
// A repaired file is probed again, for an infection inside an infection;
// the engine cannot nest deeper than this.
constexpr int kMaxTreatmentsPerFile = 16;

bool EngineUsable() {
  return g_engine.probeInto && g_engine.recoverFile && g_engine.getVirusReport && g_engine.getVirusName &&
         g_engine.closeProbe;
}

// Keeps the window painted between files.  False once the program is ending;
// the quit message is put back for the main loop.
bool DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

// Offers every finding in the file in turn.  The question and the list get
// the virus name at once: the text belongs to the engine.
void TreatFile(HWND window, const std::string& path, ScanTally* tally) {
  for (int pass = 0; pass < kMaxTreatmentsPerFile; ++pass) {
    ProbedFile probed;
    CvProbe probe = ProbeFile(path.c_str(), &probed);
    if (!probe) return;
    int report = g_engine.getVirusReport(probe);
    if (report == CV_REPORT_IGNORE) {
      g_engine.closeProbe(probe);
      return;
    }
    ++tally->found;
    std::string virus = g_engine.getVirusName(probe);
    std::string question = VirusQuestion(report, path, virus);
    if (MessageBoxA(window, question.c_str(), kVirusFoundTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) {
      g_engine.closeProbe(probe);
      AddFindingLine(window, FindingLine(path, virus, Treatment::kDeclined));
      return;
    }
    short result = TreatProbedFile(probe, path.c_str(), probed);
    g_engine.closeProbe(probe);
    if (result == CV_TREAT_REPAIRED) {
      ++tally->repaired;
      AddFindingLine(window, FindingLine(path, virus, Treatment::kRepaired));
      continue;
    }
    if (result == CV_TREAT_DELETED) {
      ++tally->deleted;
      AddFindingLine(window, FindingLine(path, virus, Treatment::kDeleted));
    } else {
      AddFindingLine(window, FindingLine(path, virus, Treatment::kFailed));
    }
    return;
  }
}

// False when the program is ending.
bool ScanFiles(HWND window, const std::string& folder, ScanTally* tally) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool going = true;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string path = JoinPath(folder, found.cFileName);
    SetStatusText(window, ScanningText(path));
    ++tally->files;
    TreatFile(window, path, tally);
    going = DrainMessages();
  } while (going && FindNextFileA(search, &found));
  FindClose(search);
  return going;
}

}  // namespace

void RunScanInWindow(HWND window, const std::string& folder) {
  EnableScanButton(window, false);
  ClearFindings(window);
  (void)LoadScanEngine();
  if (!EngineUsable()) {
    UnloadScanEngine();
    SetStatusText(window, kNoEngineText);
    MessageBoxA(window, kNoEngineText, kProductName, MB_OK | MB_ICONEXCLAMATION);
    EnableScanButton(window, true);
    return;
  }
  ScanTally tally;
  bool completed = ScanFiles(window, folder, &tally);
  UnloadScanEngine();
  if (!completed) return;
  SetStatusText(window, ScanSummaryText(tally));
  EnableScanButton(window, true);
}
