// The licence agreement shown on the agreement page, without Win32.
#pragma once

// 17 lines joined by CR LF.
extern const char kAgreementText[];
