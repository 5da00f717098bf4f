// The scan of the key folders (C:\, the Windows directory and its Command
// folder) with per-file treatment.  It knows nothing of windows: whoever runs
// it (the scan page, or a silent install) shows the progress, answers the
// question about each finding, and says whether to go on.
#pragma once
#include <string>

enum class ScanCounter { Files, Infected, Repaired, Deleted };

class ScanObserver {
 public:
  // The file about to be probed.
  virtual void ShowFile(const std::string& path) = 0;
  virtual void Count(ScanCounter which) = 0;
  // A finding: the virus's name is shown, then asked about; true treats it.
  virtual void ShowVirus(const char* name) = 0;
  virtual bool AskToTreat(int report, const std::string& path, const char* virusName) = 0;
  // What a treatment gave (CV_TREAT_*).
  virtual void Treated(const std::string& path, short result) = 0;
  // Asked after every file; false stops the scan.
  virtual bool KeepGoing() = 0;

 protected:
  ~ScanObserver() = default;
};

enum class ScanOutcome { Completed, NoEngine, Stopped };

// Without a usable engine (the library missing, or any export missing)
// nothing is probed.
ScanOutcome ScanKeyFolders(ScanObserver* observer);
