// Ends running programs of an earlier installation.
#pragma once

void StopProductProcesses();
