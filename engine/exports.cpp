// The seven exports of Corvane.dll.  The caller makes every call from one
// thread (engine_api.h), so the engine's state is plain process-wide data.
// A failed allocation ends a call with its "nothing found / nothing done"
// answer; the library has no exceptions to throw.
#include <windows.h>

#include <type_traits>

#include "common/memory.h"
#include "disk_files.h"
#include "engine_api.h"
#include "probe_table.h"
#include "scanner.h"

namespace {

// Files are read in pieces of this size: memory stays the same for any file.
constexpr size_t kChunkSize = 64 * 1024;

// Everything the engine holds while it is on.  With probes still open it is
// freed by the last turn-off, or else by the library's unloading, when the
// destructors run.
struct EngineState {
  int turnOns = 0;
  SignatureSet signatures;
  unsigned char* buffer = nullptr;
  ProbeTable probes;

  ~EngineState() { Release(); }
  void Release() {
    probes.CloseAll();
    signatures.Release();
    GiveMemory(buffer);
    buffer = nullptr;
    turnOns = 0;
  }
};
EngineState g_state;

}  // namespace

extern "C" {

int dlTurnOnCorvane(void) {
  if (g_state.turnOns > 0) {
    ++g_state.turnOns;
    return 1;
  }
  g_state.buffer = static_cast<unsigned char*>(TakeMemory(kChunkSize));
  if (!g_state.buffer || !g_state.signatures.Build()) {
    g_state.Release();
    return 0;
  }
  g_state.turnOns = 1;
  return 1;
}

void dlTurnOffCorvane(void) {
  if (g_state.turnOns == 0) return;
  if (--g_state.turnOns == 0) g_state.Release();
}

CvProbe dlProbeInto(const char* path) {
  if (g_state.turnOns == 0 || !path) return 0;
  Finding finding;
  if (!ProbeFileOnDisk(g_state.signatures, path, g_state.buffer, kChunkSize, &finding)) return 0;
  if (!finding.Found()) return 0;
  return g_state.probes.Open(path, finding);
}

short dlGetVirusReport(CvProbe probe) {
  const ProbeRecord* record = g_state.probes.Find(probe);
  return record ? record->finding.report : static_cast<short>(CV_REPORT_IGNORE);
}

const char* dlGetVirusName(CvProbe probe) {
  const ProbeRecord* record = g_state.probes.Find(probe);
  return record ? record->finding.name : "";
}

short dlRecoverFile(CvProbe probe) {
  ProbeRecord* record = g_state.probes.Find(probe);
  if (!record || record->treated) return CV_TREAT_ENDED;
  record->treated = true;
  return TreatFileOnDisk(record->path, record->finding, g_state.buffer, kChunkSize);
}

void dlCloseProbe(CvProbe probe) { g_state.probes.Close(probe); }

}  // extern "C"

// Nothing to set up or tear down per process: the engine starts in
// dlTurnOnCorvane.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// The exports must keep the contract's types exactly: the caller reaches
// them only through these pointer types.
static_assert(std::is_same<decltype(&dlTurnOnCorvane), CvTurnOnProc>::value, "dlTurnOnCorvane");
static_assert(std::is_same<decltype(&dlTurnOffCorvane), CvTurnOffProc>::value, "dlTurnOffCorvane");
static_assert(std::is_same<decltype(&dlProbeInto), CvProbeIntoProc>::value, "dlProbeInto");
static_assert(std::is_same<decltype(&dlGetVirusReport), CvGetVirusReportProc>::value, "dlGetVirusReport");
static_assert(std::is_same<decltype(&dlGetVirusName), CvGetVirusNameProc>::value, "dlGetVirusName");
static_assert(std::is_same<decltype(&dlRecoverFile), CvRecoverFileProc>::value, "dlRecoverFile");
static_assert(std::is_same<decltype(&dlCloseProbe), CvCloseProbeProc>::value, "dlCloseProbe");
