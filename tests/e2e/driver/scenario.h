// The scenarios of the driver: each is one end-to-end test, named on the
// driver's command line and registered with ctest by the same name (the
// CMakeLists reads the names from the SCENARIO lines of scenarios_*.cpp).
#pragma once

#include <vector>

using ScenarioFunction = void (*)();

struct ScenarioEntry {
  const char* name;
  const char* summary;
  ScenarioFunction run;
};

std::vector<ScenarioEntry>& Scenarios();

struct ScenarioRegistrar {
  ScenarioRegistrar(const char* name, const char* summary, ScenarioFunction run) {
    Scenarios().push_back({name, summary, run});
  }
};

// SCENARIO(name, "what it shows") { body }: keep it at the start of a line.
#define SCENARIO(name, summary)                                       \
  static void name();                                                 \
  static const ScenarioRegistrar registrar_##name(#name, summary, name); \
  static void name()
