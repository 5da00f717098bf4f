// End-to-end driver of SETUP.EXE: runs one named scenario in the Wine prefix
// that the runner script prepared, prints its steps and failures, and exits
// with 0 when every check held.
//
//   e2e_driver --list      the scenarios, one per line
//   e2e_driver NAME        runs one
#include <cstdio>
#include <cstring>

#include "check.h"
#include "scenario.h"
#include "setup_process.h"

std::vector<ScenarioEntry>& Scenarios() {
  static std::vector<ScenarioEntry> scenarios;
  return scenarios;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: e2e_driver --list | SCENARIO\n");
    return 2;
  }
  // What the shared helpers find wrong (a control missing, a box that stays)
  // counts as a failed check of the scenario.
  report::SendFailuresTo([](const std::string& message) { Fail("%s", message.c_str()); });
  if (std::strcmp(argv[1], "--list") == 0) {
    for (const ScenarioEntry& entry : Scenarios()) std::printf("%s\t%s\n", entry.name, entry.summary);
    return 0;
  }
  for (const ScenarioEntry& entry : Scenarios()) {
    if (std::strcmp(argv[1], entry.name) != 0) continue;
    Note("scenario %s: %s", entry.name, entry.summary);
    PrepareBench();
    try {
      entry.run();
    } catch (const ScenarioAbort&) {
      // Already reported; the rest of the scenario would only repeat it.
    }
    if (FailureCount() == 0) {
      Note("PASS %s", entry.name);
      return 0;
    }
    Note("FAIL %s: %d failed check(s)", entry.name, FailureCount());
    return 1;
  }
  std::fprintf(stderr, "e2e_driver: no scenario named %s\n", argv[1]);
  return 2;
}
