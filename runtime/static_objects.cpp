// Objects with static storage, without a C runtime.  The linker gathers the
// constructors into a list framed by -1 and 0 (__CTOR_LIST__); the compiler
// registers each destructor through atexit as its object is built.
#include "runtime/static_objects.h"

typedef void (*StaticFunction)();

extern "C" StaticFunction __CTOR_LIST__[];

namespace {

// Destructors of objects with static storage: the shipped programs hold a
// handful.  One that finds the table full is left out; ExitProcess gives its
// memory back anyway.
constexpr int kMostExitFunctions = 64;
StaticFunction exitFunctions[kMostExitFunctions];
int exitFunctionCount = 0;

}  // namespace

void RunStaticConstructors() {
  int count = 0;
  while (__CTOR_LIST__[count + 1]) ++count;
  // Last first, as the linker lists them in reverse.
  for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

void RunExitFunctions() {
  while (exitFunctionCount > 0) exitFunctions[--exitFunctionCount]();
}

extern "C" int atexit(StaticFunction function) {
  if (exitFunctionCount == kMostExitFunctions) return -1;
  exitFunctions[exitFunctionCount++] = function;
  return 0;
}
