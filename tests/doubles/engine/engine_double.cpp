// Test double of the scan engine library Corvane.dll: records every call and
// answers each probe from a script, so that a test can stage any sequence of
// findings and treatment results; it can also be slowed down, so that a test
// can act on the scan page while the scan runs.
//
// Environment (Windows paths):
//   CORVANE_ENGINE_LOG       one line per call, in call order:
//                              on | off | probe <path> | report <handle> |
//                              name <handle> | recover <handle> | close <handle>
//                            A call with a handle that is not open adds
//                            " (closed)" or " (unknown)" and gets report 3,
//                            name "" or result 3.  Script errors are logged
//                            as "script error <line>: <what>".
//   CORVANE_ENGINE_LOAD_LOG  load/free/exit lines (see trace.h)
//   CORVANE_ENGINE_DELAY_MS  time each probe takes
//   CORVANE_ENGINE_SCRIPT    the answers; without it every file is clean
//
// Script: one line per file name,
//
//   NAME: ANSWER; ANSWER; ...
//
// NAME is compared, ignoring the case of single-byte letters, with the last
// component of the probed path; "*" stands for every file that no line
// names.  The answers go to successive probes of that file, the last one
// again once they are used up; a file that no line names is clean.  Blank
// lines and lines that start with # are ignored.  An answer is
//
//   clean        dlProbeInto returns 0
//   found [report=R] [result=T] [name=N] [delete]
//                dlProbeInto returns the next handle (1, 2, 3 ... in the
//                order of findings); for it dlGetVirusReport returns R
//                (default 0), dlGetVirusName N (default Test.Virus; a word,
//                or "a quoted text" without quotes inside), dlRecoverFile T
//                (default 1), deleting the file first when "delete" is given.
//
// Every load of the library starts afresh: handles from 1, each file's
// answers from its first, the script read again at the first call.
//
// The counting examples of the folder scan, for instance:
//
//   CLEAN.TXT: clean
//   ONE.COM:   found name=Cvt.One; clean              repaired, then clean
//   TWO.EXE:   found name=A; found name=B; clean      two viruses, both repaired
//   ASKED.EXE: found report=1 result=2 name=Asked     answered No: closed, untouched
//   LEFT.EXE:  found report=3 name=Left               no question, probe left open
//   GONE.EXE:  found report=1 result=2 name=Gone delete
//   ENDED.EXE: found report=2 result=3 name=Ended
//   AGAIN.EXE: found result=7 name=Again              offered until answered No
#include <windows.h>

#include <string>
#include <vector>

#include "../trace.h"
#include "engine/engine_api.h"
#include "engine_script.h"

namespace {

constexpr DWORD kMaxScriptSize = 1 << 20;

struct Probe {
  std::string path;
  engine_script::Answer answer;
  bool open = true;
};

// The double runs on its caller's one thread, as the engine does.
bool g_scriptRead = false;
engine_script::Script g_script;
std::vector<Probe> g_probes;  // handle n is g_probes[n - 1]

void Trace(const char* what, const char* detail) {
  char line[MAX_PATH + 64];
  if (lstrlenA(detail) >= MAX_PATH) detail = "(too long)";
  wsprintfA(line, "%s%s%s\r\n", what, *detail ? " " : "", detail);
  AppendTraceLine("CORVANE_ENGINE_LOG", line);
}

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

std::string ReadScriptFile() {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("CORVANE_ENGINE_SCRIPT", path, sizeof path);
  if (n == 0 || n >= sizeof path) return std::string();
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Trace("script error 0:", "cannot open the file named by CORVANE_ENGINE_SCRIPT");
    return std::string();
  }
  std::string text(kMaxScriptSize, '\0');
  DWORD got = 0;
  if (!ReadFile(file, &text[0], kMaxScriptSize, &got, nullptr)) got = 0;
  CloseHandle(file);
  text.resize(got);
  return text;
}

void ReadScriptOnce() {
  if (g_scriptRead) return;
  g_scriptRead = true;
  g_script = engine_script::Parse(ReadScriptFile());
  for (const std::string& error : g_script.errors) Trace("script error", error.c_str());
}

// The probe of `handle`, or null (with the reason logged) when it is not open.
Probe* Use(const char* what, CvProbe handle) {
  char line[64];
  Probe* probe = handle >= 1 && handle <= g_probes.size() ? &g_probes[handle - 1] : nullptr;
  const char* note = !probe ? " (unknown)" : !probe->open ? " (closed)" : "";
  wsprintfA(line, "%lu%s", handle, note);
  Trace(what, line);
  return probe && probe->open ? probe : nullptr;
}

}  // namespace

extern "C" {

__declspec(dllexport) int dlTurnOnCorvane(void) {
  Trace("on", "");
  ReadScriptOnce();
  return 1;
}

__declspec(dllexport) void dlTurnOffCorvane(void) { Trace("off", ""); }

__declspec(dllexport) CvProbe dlProbeInto(const char* path) {
  Trace("probe", path);
  long delay = TraceEnvNumber("CORVANE_ENGINE_DELAY_MS", 0);
  if (delay > 0) Sleep(static_cast<DWORD>(delay));
  ReadScriptOnce();
  engine_script::Answer answer = engine_script::NextAnswer(g_script, path, IsLeadByte);
  if (!answer.found) return 0;
  Probe probe;
  probe.path = path;
  probe.answer = answer;
  g_probes.push_back(probe);
  return g_probes.size();
}

__declspec(dllexport) short dlGetVirusReport(CvProbe handle) {
  Probe* probe = Use("report", handle);
  return probe ? static_cast<short>(probe->answer.report) : static_cast<short>(CV_REPORT_IGNORE);
}

__declspec(dllexport) const char* dlGetVirusName(CvProbe handle) {
  Probe* probe = Use("name", handle);
  return probe ? probe->answer.name.c_str() : "";
}

__declspec(dllexport) short dlRecoverFile(CvProbe handle) {
  Probe* probe = Use("recover", handle);
  if (!probe) return CV_TREAT_ENDED;
  if (probe->answer.deletes) {
    (void)SetFileAttributesA(probe->path.c_str(), FILE_ATTRIBUTE_NORMAL);
    (void)DeleteFileA(probe->path.c_str());  // a test that asks for it checks it
  }
  return static_cast<short>(probe->answer.result);
}

__declspec(dllexport) void dlCloseProbe(CvProbe handle) {
  Probe* probe = Use("close", handle);
  if (probe) probe->open = false;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  TraceModuleEvent("CORVANE_ENGINE_LOAD_LOG", module, reason, reserved);
  return TRUE;
}
