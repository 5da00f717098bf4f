// The exported contract of the scan engine library Corvane.dll: seven plain
// C functions (cdecl, undecorated names), shared by the engine and its callers.
#pragma once

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
