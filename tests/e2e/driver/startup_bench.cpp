// Start-up figures for bench/startup/run.sh: program size, working set on the
// welcome page, the time to the first window beside the smallest windowed
// program's, and the time to the welcome page beside the fixed waits of the
// preparing dialog.  Prints figures only; nothing here passes or fails.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "check.h"
#include "support/files.h"
#include "scenario.h"
#include "texts.h"
#include "wizard.h"

namespace {

// 1 s timer, 101 draws with a 10 ms sleep each, 3 s hold.
constexpr double kFixedWaitSeconds = 1.0 + 101 * 0.010 + 3.0;

struct StartFigures {
  double toPreparing = 0, preparingShown = 0, toWelcome = 0;
  double workingSetKb = 0, peakWorkingSetKb = 0;
};

StartFigures MeasureOnce() {
  StartFigures figures;
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  HWND preparing = wizard.Expect(Page::Preparing, kStartTimeoutMs);
  HWND welcome = wizard.Expect(Page::Welcome, kStartTimeoutMs);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(setup.Handle(), &memory, sizeof memory)) {
    figures.workingSetKb = memory.WorkingSetSize / 1024.0;
    figures.peakWorkingSetKb = memory.PeakWorkingSetSize / 1024.0;
  }
  for (const ui::WindowRecord& record : ui::Seen(setup.Pid())) {
    if (record.hwnd == preparing) {
      figures.toPreparing = (record.firstVisible - setup.Started()) / 1000.0;
      figures.preparingShown = (record.lastVisible - record.firstVisible) / 1000.0;
    }
    if (record.hwnd == welcome) figures.toWelcome = (record.firstVisible - setup.Started()) / 1000.0;
  }
  wizard.ConfirmQuit(Ask::Button);
  return figures;
}

// Start of firstWindow.exe (beside this driver) to its window on screen, in
// seconds; the same measure as `toPreparing`.
double FirstWindowOnce() {
  machine::Launch launch;
  launch.application = machine::ProgramFolder() + "\\first_window.exe";
  launch.commandLine = "\"" + launch.application + "\"";
  SetupProcess program(launch);
  double seconds = 0;
  ui::WaitUntil([&] {
    for (const ui::WindowRecord& record : ui::Seen(program.Pid()))
      if (record.firstVisible != ui::WindowRecord::kNever) seconds = (record.firstVisible - program.Started()) / 1000.0;
    return seconds > 0;
  }, kStartTimeoutMs);
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

SCENARIO(bench_startup, "figures: SETUP.EXE size, working set on the welcome page, time to the welcome page") {
  constexpr int kRuns = 5;
  std::string program = Bench().medium + "\\SETUP.EXE";
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExA(program.c_str(), GetFileExInfoStandard, &attributes);
  std::vector<StartFigures> runs;
  std::vector<double> firstWindow;
  // Alternately, so that whatever else the machine does weighs on both.
  for (int i = 0; i < kRuns; ++i) {
    firstWindow.push_back(FirstWindowOnce());
    runs.push_back(MeasureOnce());
  }
  auto median = [&](double StartFigures::*field) {
    std::vector<double> values;
    for (const StartFigures& run : runs) values.push_back(run.*field);
    return Median(values);
  };
  std::printf("\nSETUP.EXE start-up, median of %d runs under Wine (the driver polls windows every 10 ms)\n", kRuns);
  std::printf("  file size                              %10lu bytes\n", attributes.nFileSizeLow);
  std::printf("  working set on the welcome page        %10.0f KiB\n", median(&StartFigures::workingSetKb));
  std::printf("  peak working set up to the welcome page%10.0f KiB\n", median(&StartFigures::peakWorkingSetKb));
  const double reference = Median(firstWindow), preparing = median(&StartFigures::toPreparing);
  std::printf("  start to first window, first_window.exe%10.3f s\n", reference);
  std::printf("  start to preparing dialog on screen    %10.3f s   %.2f x first_window.exe (target at most 1.3)\n",
              preparing, reference > 0 ? preparing / reference : 0.0);
  std::printf("  preparing dialog on screen             %10.2f s\n", median(&StartFigures::preparingShown));
  std::printf("  start to welcome page on screen        %10.2f s\n", median(&StartFigures::toWelcome));
  std::printf("  of which the preparing dialog's fixed waits (1 s + 101 x 10 ms + 3 s) %.2f s\n", kFixedWaitSeconds);
  std::printf("  per run (first_window / to preparing / shown / to welcome):");
  for (int i = 0; i < kRuns; ++i)
    std::printf("  %.3f/%.3f/%.2f/%.2f", firstWindow[i], runs[i].toPreparing, runs[i].preparingShown,
                runs[i].toWelcome);
  std::printf("\n");
  std::fflush(stdout);
}
