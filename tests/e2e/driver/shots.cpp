// Screenshots of the virtual desktop.
#include "shots.h"

#include <windows.h>

#include "check.h"
#include "support/files.h"
#include "support/processes.h"
#include "support/ui.h"

bool ShotsWanted() { return !machine::Environment("CORVANE_SHOT_DIR").empty(); }

void Shot(const std::string& name) {
  std::string folder = machine::Environment("CORVANE_SHOT_DIR");
  if (folder.empty()) return;
  std::string unixPath = folder + "/" + name + ".png";
  // Wine draws its virtual desktop in the top left corner of the X screen;
  // the shot keeps just that.  import writes under another name first, so
  // that the file appears whole.
  std::string crop = Format("%dx%d+0+0", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  std::string command = "Z:\\bin\\sh -c \"import -window root -crop " + crop + " +repage png:'" + unixPath +
                        ".part' && mv '" + unixPath + ".part' '" + unixPath + "'\"";
  std::string windowsPath = machine::WinePath(unixPath);
  DeleteFileA(windowsPath.c_str());
  // Let the windows that just opened finish painting.
  Sleep(300);
  machine::Process import;
  if (!import.Start(command)) {
    Fail("cannot start import for the shot %s (error %lu)", name.c_str(), GetLastError());
    return;
  }
  if (!ui::WaitUntil([&] { return machine::Exists(windowsPath); }, 30000, 50)) {
    Fail("the shot %s was not saved", name.c_str());
    return;
  }
  Note("shot %s", unixPath.c_str());
}
