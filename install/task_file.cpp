// Setup.run's place in the install folder.
#include "task_file.h"

Text SetupRunPath(const Text& installFolder) {
  return installFolder + "\\" + kTaskFileName;
}
