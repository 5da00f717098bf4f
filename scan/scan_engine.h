// Binding to the scan engine library, Corvane.dll, for one scan run.
#pragma once
#include <windows.h>

#include "engine/engine_api.h"

// The engine's exports, each null until bound.  Bound by LoadScanEngine,
// cleared by UnloadScanEngine; used by the scan loop (folder_scan.h).
struct ScanEngine {
  HMODULE library;
  CvProbeIntoProc probeInto;
  CvRecoverFileProc recoverFile;
  CvGetVirusReportProc getVirusReport;
  CvGetVirusNameProc getVirusName;
  CvCloseProbeProc closeProbe;
  CvTurnOnProc turnOn;
  CvTurnOffProc turnOff;
};
extern ScanEngine g_engine;

// Loads "Corvane.dll" by its bare name, binds the seven exports and switches
// the engine on: 0.  1 when the library cannot be loaded (nothing bound).
WORD LoadScanEngine();
// Switches the engine off and unloads it; nothing when nothing is loaded.
void UnloadScanEngine();

// A file's size and last write time as its folder entry gave them just
// before a probe.  The user may answer the question about a finding long
// after the probe, and the file may have been replaced meanwhile.
struct ProbedFile {
  bool seen;
  DWORD sizeLow, sizeHigh;
  FILETIME written;
};

// Notes the file's entry, then probes it through the bound engine.
CvProbe ProbeFile(const char* path, ProbedFile* probed);
// Treats a probe's finding (repair or delete, by the engine) while the file
// is still the one probed.  A file that changed, or whose entry could not be
// read, is left as it is: CV_TREAT_ENDED, the engine's own answer for a
// treatment that cannot be done.
short TreatProbedFile(CvProbe probe, const char* path, const ProbedFile& probed);
