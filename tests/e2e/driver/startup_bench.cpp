// Start-up figures for bench/startup.sh: program size, working set on the
// welcome page, and the time to the welcome page beside the fixed waits of
// the preparing dialog.  Prints figures only; nothing here passes or fails.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "check.h"
#include "scenario.h"
#include "texts.h"
#include "wizard.h"

namespace {

// 1 s timer, 101 draws with a 10 ms sleep each, 3 s hold.
constexpr double kFixedWaitSeconds = 1.0 + 101 * 0.010 + 3.0;

struct StartFigures {
  double to_preparing = 0, preparing_shown = 0, to_welcome = 0;
  double working_set_kb = 0, peak_working_set_kb = 0;
};

StartFigures MeasureOnce() {
  StartFigures figures;
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  HWND preparing = wizard.Expect(Page::Preparing, kStartTimeoutMs);
  HWND welcome = wizard.Expect(Page::Welcome, kStartTimeoutMs);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(setup.handle(), &memory, sizeof memory)) {
    figures.working_set_kb = memory.WorkingSetSize / 1024.0;
    figures.peak_working_set_kb = memory.PeakWorkingSetSize / 1024.0;
  }
  for (const ui::WindowRecord& record : ui::Seen(setup.pid())) {
    if (record.hwnd == preparing) {
      figures.to_preparing = (record.first_visible - setup.started()) / 1000.0;
      figures.preparing_shown = (record.last_visible - record.first_visible) / 1000.0;
    }
    if (record.hwnd == welcome) figures.to_welcome = (record.first_visible - setup.started()) / 1000.0;
  }
  wizard.ConfirmQuit(Ask::Button);
  return figures;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

SCENARIO(bench_startup, "figures: SETUP.EXE size, working set on the welcome page, time to the welcome page") {
  constexpr int kRuns = 3;
  std::string program = Bench().medium + "\\SETUP.EXE";
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExA(program.c_str(), GetFileExInfoStandard, &attributes);
  std::vector<StartFigures> runs;
  for (int i = 0; i < kRuns; ++i) runs.push_back(MeasureOnce());
  auto median = [&](double StartFigures::*field) {
    std::vector<double> values;
    for (const StartFigures& run : runs) values.push_back(run.*field);
    return Median(values);
  };
  std::printf("\nSETUP.EXE start-up, median of %d runs under Wine (the driver polls windows every 10 ms)\n", kRuns);
  std::printf("  file size                              %10lu bytes\n", attributes.nFileSizeLow);
  std::printf("  working set on the welcome page        %10.0f KiB\n", median(&StartFigures::working_set_kb));
  std::printf("  peak working set up to the welcome page%10.0f KiB\n", median(&StartFigures::peak_working_set_kb));
  std::printf("  start to preparing dialog on screen    %10.2f s\n", median(&StartFigures::to_preparing));
  std::printf("  preparing dialog on screen             %10.2f s\n", median(&StartFigures::preparing_shown));
  std::printf("  start to welcome page on screen        %10.2f s\n", median(&StartFigures::to_welcome));
  std::printf("  of which the preparing dialog's fixed waits (1 s + 101 x 10 ms + 3 s) %.2f s\n", kFixedWaitSeconds);
  std::printf("  per run (to preparing / shown / to welcome):");
  for (const StartFigures& run : runs) std::printf("  %.2f/%.2f/%.2f", run.to_preparing, run.preparing_shown, run.to_welcome);
  std::printf("\n");
  std::fflush(stdout);
}
