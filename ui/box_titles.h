// Titles of the message boxes that more than one window of setup shows.
#pragma once

// A failure that ends setup: files missing, a file that cannot be made,
// a product already installed.
extern const char kSetupErrorTitle[];
// A question whose yes ends setup: Cancel on a page, or on the scan.
extern const char kQuitTitle[];
