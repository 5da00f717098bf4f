// Setup.run's place in the install folder.
#include "install/task_file.h"

Text SetupRunPath(const Text& installFolder) {
  return installFolder + "\\" + kTaskFileName;
}
