// The probe-and-treat loop over folders' files.
#include "scan/folder_scan.h"

#include "common/path_text.h"
#include "scan/scan_engine.h"
#include "scan/scan_text.h"

namespace {

constexpr UINT kWindowsDirectoryReadSize = 255;

// An engine that lacks any of its exports is not used: without turn-on its
// probes may find nothing, which would pass for a clean result.
bool EngineUsable() {
  return g_engine.probeInto && g_engine.recoverFile && g_engine.getVirusReport &&
         g_engine.getVirusName && g_engine.closeProbe && g_engine.turnOn && g_engine.turnOff;
}

// Probes a file and offers every finding in turn.  A repair, or a result the
// scan does not know, probes the same file again: infections nest, and each
// repair takes off one layer.
void TreatFile(const Text& path, ScanObserver* observer) {
  for (;;) {
    observer->Count(ScanCounter::Files);
    ProbedFile probed;
    CvProbe probe = ProbeFile(path.c_str(), &probed);
    if (!probe) return;
    int report = g_engine.getVirusReport(probe);
    // The engine asks for this file to be left alone; its probe stays open.
    if (report == CV_REPORT_IGNORE) return;
    observer->ShowVirus(g_engine.getVirusName(probe));
    observer->Count(ScanCounter::Infected);
    if (!observer->AskToTreat(report, path, g_engine.getVirusName(probe))) {
      g_engine.closeProbe(probe);
      return;
    }
    short result = TreatProbedFile(probe, path.c_str(), probed);
    observer->Treated(path, result);
    switch (result) {
      case CV_TREAT_REPAIRED:
        observer->Count(ScanCounter::Repaired);
        g_engine.closeProbe(probe);
        break;
      case CV_TREAT_DELETED:
        observer->Count(ScanCounter::Deleted);
        g_engine.closeProbe(probe);
        return;
      case CV_TREAT_ENDED:
        g_engine.closeProbe(probe);
        return;
      default:
        break;
    }
  }
}

// Scans the files directly in a folder; false when the observer stops.
bool ScanFolder(const Text& folder, ScanObserver* observer) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool going = true;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    Text path = JoinPath(folder, found.cFileName);
    observer->ShowFile(path);
    TreatFile(path, observer);
    going = observer->KeepGoing();
  } while (going && FindNextFileA(search, &found));
  FindClose(search);
  return going;
}

}  // namespace

ScanOutcome ScanFolders(const List<Text>& folders, ScanObserver* observer) {
  if (LoadScanEngine() != 0 || !EngineUsable()) {
    UnloadScanEngine();
    return ScanOutcome::NoEngine;
  }
  bool completed = true;
  for (const Text& folder : folders) {
    completed = ScanFolder(folder, observer);
    if (!completed) break;
  }
  UnloadScanEngine();
  return completed ? ScanOutcome::Completed : ScanOutcome::Stopped;
}

ScanOutcome ScanKeyFolders(ScanObserver* observer) {
  char windows[kWindowsDirectoryReadSize + 1] = "";
  GetWindowsDirectoryA(windows, kWindowsDirectoryReadSize);
  // C: is fixed, wherever Windows lives.
  return ScanFolders({"C:\\", windows, JoinPath(windows, "Command")}, observer);
}
