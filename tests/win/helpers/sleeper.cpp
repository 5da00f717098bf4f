// A program that does nothing but wait, copied under product names into
// install folders so that process stopping has something real to end.
#include <windows.h>

int main() {
  Sleep(120000);
  return 0;
}
