// The product's install folder as setup knows it: where it goes unless the
// user or the command line says otherwise, and the size of setup's path
// buffers, the install folder's among them.
#pragma once

// Size of every path and profile-value buffer of setup.
constexpr int kPathBufferSize = 600;

inline constexpr char kDefaultInstallFolder[] = "C:\\Program Files\\Corvane";
