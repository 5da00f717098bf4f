// The install job: run by the copy page's bar at its first timer tick.
#pragma once

void RunInstallJob();
