// The pictures of SETUP.EXE, each drawn from code alone.
#pragma once

#include "files.h"
#include "quantize.h"

namespace mkart {

// Bitmap 221, the backdrop's 38x768 gradient strip (see gradient.cpp for
// the exact rule its rows follow).
Indexed GradientStrip();

// Side pictures of the wizard pages: photographs in muted brown, 138x271
// (137x271 for the user-information page).
Indexed ScanSide();      // 150: a magnifying glass over a printed page
Indexed WelcomeSide();   // 201: hills at dawn
Indexed UserInfoSide();  // 203: a still life by a window
Indexed FolderSide();    // 204: stacked cartons
Indexed ConfirmSide();   // 205: a lighthouse on a cliff
Indexed FinishSide();    // 206: sunset over the sea

// Bitmap 222, the 400x244 logo: a shield and the product name.
Indexed Logo();

// Icon 1 (group 101): an opened carton with a program window above it.
Icon16 SetupFileIcon();
// Icon 2 (group 102): a computer with a carton beside it.
Icon16 ProductIcon();

}  // namespace mkart
