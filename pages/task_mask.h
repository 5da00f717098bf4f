// The task page's check boxes and the task byte's bits, without Win32.
#pragma once

// Task i (0..4, check boxes 1010..1014) is bit 4 - i: the first box is the
// highest bit (safe start-up), the last ("Run Corvane") bit 0.
unsigned char TaskBit(int i);
constexpr int kTaskCount = 5;
