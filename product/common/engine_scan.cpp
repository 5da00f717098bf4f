// The product window's side of the virus scan of one folder's files.
#include "product/common/engine_scan.h"

#include "common/message_pump.h"
#include "engine/engine_api.h"
#include "product/common/product_window.h"
#include "product/logic/product_text.h"
#include "scan/folder_scan.h"
#include "scan/scan_text.h"

namespace {

const char kVirusFoundTitle[] = "바이러스 발견";
const char kNoEngineText[] = "Corvane.dll이 없어 바이러스를 검사할 수 없습니다.";

// The status line names the file being scanned; each finding is asked about
// (Yes treats it) and listed with what became of it; the tally counts files,
// not probes, for the summary.
class WindowScan : public ScanObserver {
 public:
  explicit WindowScan(HWND window) : window_(window) {}

  void ShowFile(const Text& path) override {
    SetStatusText(window_, ScanningText(path));
    ++tally_.files;
  }
  void Count(ScanCounter which) override {
    switch (which) {
      case ScanCounter::Files: break;
      case ScanCounter::Infected: ++tally_.found; break;
      case ScanCounter::Repaired: ++tally_.repaired; break;
      case ScanCounter::Deleted: ++tally_.deleted; break;
    }
  }
  // Copied at once: the text belongs to the engine, which is unloaded after
  // the scan.
  void ShowVirus(const char* name) override { virus_ = name; }
  bool AskToTreat(int report, const Text& path, const char*) override {
    Text question = VirusQuestion(report, path, virus_);
    if (MessageBoxA(window_, question.c_str(), kVirusFoundTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) return true;
    AddFindingLine(window_, FindingLine(path, virus_, Treatment::Declined));
    return false;
  }
  void Treated(const Text& path, short result) override {
    Treatment treatment = result == CV_TREAT_REPAIRED  ? Treatment::Repaired
                          : result == CV_TREAT_DELETED ? Treatment::Deleted
                                                       : Treatment::Failed;
    AddFindingLine(window_, FindingLine(path, virus_, treatment));
  }
  bool KeepGoing() override { return PumpWaitingMessages(); }

  const ScanTally& tally() const { return tally_; }

 private:
  HWND window_;
  ScanTally tally_;
  Text virus_;
};

}  // namespace

void RunScanInWindow(HWND window, const Text& folder) {
  EnableScanButton(window, false);
  ClearFindings(window);
  WindowScan scan(window);
  switch (ScanFolders({folder}, &scan)) {
    case ScanOutcome::NoEngine:
      SetStatusText(window, kNoEngineText);
      MessageBoxA(window, kNoEngineText, kProductName, MB_OK | MB_ICONEXCLAMATION);
      break;
    case ScanOutcome::Completed:
      SetStatusText(window, ScanSummaryText(scan.tally()));
      break;
    // The program is ending: its window is going.
    case ScanOutcome::Stopped:
      return;
  }
  EnableScanButton(window, true);
}
