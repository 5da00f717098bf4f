// Binding to the scan engine library, Corvane.dll, for one scan run.
#pragma once
#include <windows.h>

#include "engine/engine_api.h"

// The engine's exports, each null until bound.  Bound by LoadScanEngine,
// cleared by UnloadScanEngine; used only by the folder scan.
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
