// Objects with static storage in the shipped programs: their constructors run
// before WinMain or DllMain, and what they register to run at exit runs after.
#pragma once

void RunStaticConstructors();
void RunExitFunctions();
