// The probe-and-treat loop over folders' files through Corvane.dll, run by
// setup (its key folders: C:\, the Windows directory and its Command folder)
// and by the product's programs (a folder of the user's, or the Windows
// folder).  It knows nothing of windows: whoever runs it (setup's scan page
// or silent install, the product window) shows the progress, answers the
// question about each finding, and says whether to go on.
#pragma once
#include "common/text.h"
#include "common/list.h"

enum class ScanCounter { Files, Infected, Repaired, Deleted };

class ScanObserver {
 public:
  // The file about to be probed; once per file.
  virtual void ShowFile(const Text& path) = 0;
  // Files counts each probe: a file is probed again after a repair, or after
  // a treatment result that the loop does not know.
  virtual void Count(ScanCounter which) = 0;
  // A finding: the virus's name is shown, then asked about; true treats it.
  // The name is the engine's own text: an observer that keeps it copies it.
  virtual void ShowVirus(const char* name) = 0;
  virtual bool AskToTreat(int report, const Text& path, const char* virusName) = 0;
  // What a treatment gave (CV_TREAT_*).
  virtual void Treated(const Text& path, short result) = 0;
  // Asked after every file; false stops the scan.
  virtual bool KeepGoing() = 0;

 protected:
  ~ScanObserver() = default;
};

enum class ScanOutcome { Completed, NoEngine, Stopped };

// Scans the files directly in each folder in turn; sub-folders are never
// entered.  The engine is loaded for this run and unloaded at its end.
// Without a usable engine (the library missing, or any of its seven exports
// missing) nothing is probed.
ScanOutcome ScanFolders(const List<Text>& folders, ScanObserver* observer);

// Setup's scan: C:\, the Windows directory, then its Command folder.
ScanOutcome ScanKeyFolders(ScanObserver* observer);
