// The follow-up tasks and their bits.
#include "task_mask.h"

unsigned char TaskBit(int i) { return static_cast<unsigned char>(1u << (kTaskCount - 1 - i)); }
