// The hand-off to _ISDEL.EXE after the install: the task byte in Setup.run.
#include <windows.h>

#include "common/bounded_text.h"
#include "common/setup_log.h"
#include "common/start_program.h"
#include "install/medium_files.h"
#include "install/task_file.h"

void HandOffTasks(const Text& installFolder, unsigned char tasks) {
  Text path = SetupRunPath(installFolder);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written;
    (void)WriteFile(file, &tasks, 1, &written, NULL);
    CloseHandle(file);
  }
  SetupLog(Text("작업 파일 ") + path + " = " + HexText(tasks, 2) + ", _ISDEL.EXE 시작");
  // Not awaited, and a failed start is not reported.
  (void)StartProgram(MediumPath(kFollowUpProgramFile).c_str(), SW_SHOW);
}
