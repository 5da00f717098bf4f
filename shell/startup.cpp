// The start-up steps that the wizard and a silent install share.
#include "shell/startup.h"

#include "common/start_program.h"
#include "install/install_records.h"
#include "install/install_folder.h"
#include "install/medium_files.h"

// A bare program name leaves the current directory as it is.
void EnterSetupFolder(char* buffer) {
  CopyProgramPath(GetCommandLineA(), buffer, kStartupBufferSize);
  CutAtLastBackslash(buffer);
  // Results ignored: an unusable folder keeps the current directory, and the
  // other two calls then set it to itself.
  (void)SetCurrentDirectoryA(buffer);
  (void)GetCurrentDirectoryA(kStartupBufferSize, buffer);
  (void)SetCurrentDirectoryA(buffer);
}

// Nothing is expected of the program: a failed start is not looked at.
void StartMemoryCheck() { (void)StartProgram(MediumPath(kMemoryCheckFile).c_str(), SW_HIDE); }

// A recorded folder too long for the buffer cannot name the program, so it
// does not count.
bool ProductAlreadyInstalled(char* buffer) {
  DWORD n = GetProfileStringA(kRecordSection, kInstallRecord, kDefaultInstallFolder, buffer, kStartupBufferSize);
  if (n >= kStartupBufferSize - 1) return false;
  if (!AppendBounded(buffer, kStartupBufferSize, "\\") || !AppendBounded(buffer, kStartupBufferSize, kMainProgram))
    return false;
  return GetFileAttributesA(buffer) != INVALID_FILE_ATTRIBUTES;
}
