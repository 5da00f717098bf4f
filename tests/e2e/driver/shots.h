// Screenshots of the virtual desktop, taken by ImageMagick's import on the
// X display that Wine draws on.  Wine starts Unix programs through
// CreateProcess, so the driver asks for each shot itself.
#pragma once

#include <string>

// Whether shots were asked for: CORVANE_SHOT_DIR names a Unix folder.
bool ShotsWanted();
// Saves the whole screen as <CORVANE_SHOT_DIR>/<name>.png and waits until the
// file is complete.  Does nothing when no shots were asked for.
void Shot(const std::string& name);
