// Setup.run's place in the install folder.
#include "task_file.h"

std::string SetupRunPath(const std::string& installFolder) {
  return installFolder + "\\" + kTaskFileName;
}
