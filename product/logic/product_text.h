// Texts of the product's windows (CV32W.EXE, Schedule.EXE), without Win32.
#pragma once
#include "common/text.h"

extern const char kProductName[];
extern const char kProductVersion[];

// The window's top text: name, version, install folder, and the setup tasks
// that _ISDEL.EXE left for the product (win.ini PendingTasks), if any.
Text ProductInfoText(const Text& installFolder, unsigned pendingTasks);

// What became of one finding of the scan.
enum class Treatment { Repaired, Deleted, Declined, Failed };

// One line of the findings list.
Text FindingLine(const Text& path, const Text& virus, Treatment treatment);

struct ScanTally {
  int files = 0;
  int found = 0;
  int repaired = 0;
  int deleted = 0;
};

Text ScanningText(const Text& path);
Text ScanSummaryText(const ScanTally& tally);
