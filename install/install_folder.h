// The product's install folder as setup knows it: where it goes unless the
// user or the command line says otherwise.  Its buffer, like every path
// buffer, is kPathBufferSize long.
#pragma once
#include "common/path_text.h"

inline constexpr char kDefaultInstallFolder[] = "C:\\Program Files\\Corvane";
