// The exported contract of the scan engine library Corvane.dll: seven plain
// C functions (cdecl, undecorated names), shared by the engine and its callers.
//
// Calling order: dlTurnOnCorvane once, then per file dlProbeInto and, for a
// non-zero probe, dlGetVirusReport, dlGetVirusName, dlRecoverFile and
// dlCloseProbe as the caller needs them, then dlTurnOffCorvane.  All calls
// come from one thread.
//
// What the engine in engine/ guarantees beyond the bare signatures:
// - dlTurnOnCorvane returns 1 when the engine is on, 0 when it could not get
//   its memory.  Turn-ons are counted; each dlTurnOffCorvane undoes one, and
//   the last one frees every probe still open.  dlProbeInto before the first
//   turn-on, or after the last turn-off, returns 0.
// - A probe stays valid until dlCloseProbe or the last turn-off, however many
//   other probes are opened meanwhile.  The probe holds no open file.
//   A closed or unknown handle is answered as report 3, name "" and
//   treatment result 3, and changes no file.
// - The name that dlGetVirusName returns is a constant text of the engine
//   and stays readable after the probe is closed.
// - dlRecoverFile repairs (result 1) or deletes (result 2) by what the probe
//   found.  A treatment that cannot be done (the file changed since the
//   probe, cannot be written, or its saved original does not check out)
//   leaves the file as it was and returns 3, as does a second treatment of
//   the same probe and the treatment of a report-3 finding.
#pragma once

// The library's file name, loaded by its bare name from the current folder.
#define CORVANE_ENGINE_LIBRARY "Corvane.dll"

#ifdef __cplusplus
extern "C" {
#endif

// An open probe of one file; 0 means nothing was found and there is no probe.
typedef unsigned long CvProbe;

// Report codes of a probe.
enum {
  CV_REPORT_REPAIRABLE = 0,
  CV_REPORT_DELETE_ONLY = 1,
  CV_REPORT_UNTREATABLE = 2,
  CV_REPORT_IGNORE = 3
};
// Treatment results.
enum { CV_TREAT_REPAIRED = 1, CV_TREAT_DELETED = 2, CV_TREAT_ENDED = 3 };

typedef int (*CvTurnOnProc)(void);
typedef void (*CvTurnOffProc)(void);
typedef CvProbe (*CvProbeIntoProc)(const char* path);
typedef short (*CvGetVirusReportProc)(CvProbe probe);
typedef const char* (*CvGetVirusNameProc)(CvProbe probe);
typedef short (*CvRecoverFileProc)(CvProbe probe);
typedef void (*CvCloseProbeProc)(CvProbe probe);

#ifdef __cplusplus
}
#endif
