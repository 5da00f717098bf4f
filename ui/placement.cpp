// Screen placement arithmetic of the setup windows.
#include "placement.h"

namespace {
constexpr int kLogoBand = 450;
constexpr int kLogoPlacementHeight = 400;
}  // namespace

int CenteredOrigin(int screen, int size) { return (screen - size) / 2; }

int BelowLogoTop(int screenHeight, int h) {
  return (screenHeight - kLogoBand) / 2 + kLogoBand - h;
}

int LogoTop(int screenHeight) { return (screenHeight - kLogoPlacementHeight) / 2; }
