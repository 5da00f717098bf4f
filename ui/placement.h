// Screen placement arithmetic of the setup windows, in signed integers with
// division truncating toward zero, as the screen metrics give them.
#pragma once

// Origin that centres an extent of `size` on a screen extent of `screen`.
int CenteredOrigin(int screen, int size);

// Top of a dialog of height h whose bottom edge lies on the bottom of a band
// 450 pixels high centred on the screen: below the logo.
int BelowLogoTop(int screenHeight, int h);

// The logo is placed as if it were 400 pixels high, although it is 244.
constexpr int kLogoWidth = 400;
constexpr int kLogoHeight = 244;
int LogoTop(int screenHeight);
