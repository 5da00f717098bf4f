// Binding to the scan engine library for one scan run.
#include "scan/scan_engine.h"

ScanEngine g_engine;

namespace {

// From the folder entry: opening the file could be refused while another
// program has it, and would move its access time.
ProbedFile EntryOf(const char* path) {
  ProbedFile entry = {};
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return entry;
  FindClose(search);
  entry.seen = true;
  entry.sizeLow = found.nFileSizeLow;
  entry.sizeHigh = found.nFileSizeHigh;
  entry.written = found.ftLastWriteTime;
  return entry;
}

template <typename Proc>
void Bind(Proc* entry, const char* name) {
  // Through void*: the exports are plain C functions, not FARPROCs.
  *entry = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(g_engine.library, name)));
}

}  // namespace

WORD LoadScanEngine() {
  // The bare name: the system looks beside the program first, then in the
  // current directory, which is the setup folder.
  g_engine.library = LoadLibraryA(CORVANE_ENGINE_LIBRARY);
  if (!g_engine.library) return 1;
  Bind(&g_engine.probeInto, "dlProbeInto");
  Bind(&g_engine.recoverFile, "dlRecoverFile");
  Bind(&g_engine.getVirusReport, "dlGetVirusReport");
  Bind(&g_engine.getVirusName, "dlGetVirusName");
  Bind(&g_engine.closeProbe, "dlCloseProbe");
  Bind(&g_engine.turnOn, "dlTurnOnCorvane");
  Bind(&g_engine.turnOff, "dlTurnOffCorvane");
  if (g_engine.turnOn) (void)g_engine.turnOn();
  return 0;
}

void UnloadScanEngine() {
  if (!g_engine.library) return;
  if (g_engine.turnOff) g_engine.turnOff();
  FreeLibrary(g_engine.library);
  g_engine = ScanEngine();
}

CvProbe ProbeFile(const char* path, ProbedFile* probed) {
  // Noted before the probe: a change while the engine reads shows as well.
  *probed = EntryOf(path);
  return g_engine.probeInto(path);
}

short TreatProbedFile(CvProbe probe, const char* path, const ProbedFile& probed) {
  ProbedFile now = EntryOf(path);
  bool same = probed.seen && now.seen && now.sizeLow == probed.sizeLow && now.sizeHigh == probed.sizeHigh &&
              CompareFileTime(&now.written, &probed.written) == 0;
  if (!same) return CV_TREAT_ENDED;
  return g_engine.recoverFile(probe);
}
