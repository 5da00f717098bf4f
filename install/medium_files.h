// The setup medium's files beside SETUP.EXE: what setup opens and starts from
// its own folder, and what the medium builder lays out.  _SETUP.PAK is the
// library's (setupdll/store/store_format.h), Corvane.dll the engine's
// (engine/engine_api.h).
#pragma once
#include "common/text.h"

inline constexpr char kSetupProgramFile[] = "SETUP.EXE";
inline constexpr char kManifestFile[] = "SETUP.INI";
inline constexpr char kSetupLibraryFile[] = "_SETUP.DLL";
inline constexpr char kMemoryCheckFile[] = "MemChk.exe";
inline constexpr char kFollowUpProgramFile[] = "_ISDEL.EXE";

// A medium file as setup names it once it has made its own folder the
// current one: ".\NAME".
inline Text MediumPath(const char* file) { return Text(".\\") + file; }
