// engine_bench_win [small count] [big count] [big MB]
// Through Corvane.dll: the scan throughput of dlProbeInto beside plain
// ReadFile of the same files in the same 64 KB pieces, both on warm files.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/bench/workload.h"
#include "engine/engine_api.h"

namespace {

constexpr DWORD kChunk = 64 * 1024;
constexpr double kMB = 1024.0 * 1024.0;

double Seconds() {
  static LARGE_INTEGER frequency;
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool Write(const std::string& path, const BenchFile& file) {
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written;
  if (file.size < 1024 * 1024) {
    std::string bytes = BenchSmallFile(file);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
  } else {
    std::vector<unsigned char> chunk(kChunk);
    for (uint64_t at = 0; at < file.size; at += kChunk) {
      DWORD n = static_cast<DWORD>(file.size - at < kChunk ? file.size - at : kChunk);
      BenchContent(file.seed, at, chunk.data(), n);
      WriteFile(out, chunk.data(), n, &written, NULL);
    }
  }
  CloseHandle(out);
  return true;
}

uint64_t ReadAll(const std::vector<std::string>& paths, unsigned* sum) {
  static unsigned char buffer[kChunk];
  uint64_t total = 0;
  for (const std::string& path : paths) {
    HANDLE in = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (in == INVALID_HANDLE_VALUE) continue;
    DWORD got;
    while (ReadFile(in, buffer, kChunk, &got, NULL) && got > 0) {
      total += got;
      *sum += buffer[got - 1];
    }
    CloseHandle(in);
  }
  return total;
}

struct Engine {
  CvProbeIntoProc probe;
  CvCloseProbeProc close;
};

uint64_t ScanAll(const Engine& engine, const std::vector<std::string>& paths, const std::vector<uint64_t>& sizes,
                 int* found) {
  uint64_t total = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    CvProbe probe = engine.probe(paths[i].c_str());
    if (probe) {
      ++*found;
      engine.close(probe);
    }
    total += sizes[i];
  }
  return total;
}

void Measure(const char* label, const Engine& engine, const std::vector<std::string>& paths,
             const std::vector<uint64_t>& sizes, int* found) {
  unsigned sum = 0;
  ReadAll(paths, &sum);
  double bestRead = 0, bestScan = 0;
  for (int round = 0; round < 3; ++round) {
    double t0 = Seconds();
    uint64_t bytes = ReadAll(paths, &sum);
    double t1 = Seconds();
    *found = 0;
    uint64_t scanned = ScanAll(engine, paths, sizes, found);
    double t2 = Seconds();
    if (bytes / kMB / (t1 - t0) > bestRead) bestRead = bytes / kMB / (t1 - t0);
    if (scanned / kMB / (t2 - t1) > bestScan) bestScan = scanned / kMB / (t2 - t1);
  }
  std::printf("  %-28s %10.0f %10.0f %8.2f%s\n", label, bestRead, bestScan, bestScan / bestRead,
              sum == 1 ? " " : "");
}

}  // namespace

int main(int argc, char** argv) {
  int small = argc > 1 ? std::atoi(argv[1]) : 2000;
  int big = argc > 2 ? std::atoi(argv[2]) : 3;
  int bigMb = argc > 3 ? std::atoi(argv[3]) : 100;
  HMODULE library = LoadLibraryA("Corvane.dll");
  if (!library) {
    std::printf("Corvane.dll not found beside the program\n");
    return 2;
  }
  Engine engine;
  engine.probe = reinterpret_cast<CvProbeIntoProc>(reinterpret_cast<void*>(GetProcAddress(library, "dlProbeInto")));
  engine.close = reinterpret_cast<CvCloseProbeProc>(reinterpret_cast<void*>(GetProcAddress(library, "dlCloseProbe")));
  CvTurnOnProc on = reinterpret_cast<CvTurnOnProc>(reinterpret_cast<void*>(GetProcAddress(library, "dlTurnOnCorvane")));
  CvTurnOffProc off = reinterpret_cast<CvTurnOffProc>(reinterpret_cast<void*>(GetProcAddress(library, "dlTurnOffCorvane")));
  if (!engine.probe || !engine.close || !on || !off) return 2;
  on();

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + "corvane-engine-bench\\";
  CreateDirectoryA(folder.c_str(), NULL);
  std::vector<std::string> smallPaths, bigPaths;
  std::vector<uint64_t> smallSizes, bigSizes;
  int infected = 0;
  for (const BenchFile& file : BenchWorkload(small, big, static_cast<uint64_t>(bigMb) * 1024 * 1024)) {
    std::string path = folder + file.name;
    if (!Write(path, file)) return 2;
    bool isSmall = file.size < 1024 * 1024;
    uint64_t size = isSmall ? BenchSmallFile(file).size() : file.size;
    (isSmall ? smallPaths : bigPaths).push_back(path);
    (isSmall ? smallSizes : bigSizes).push_back(size);
    if (file.infection) ++infected;
  }

  std::printf("engine_bench_win (Corvane.dll, 64 KB reads, warm files)\n");
  std::printf("  %-28s %10s %10s %8s\n", "", "read MB/s", "scan MB/s", "scan/read");
  int foundSmall = 0, foundBig = 0;
  Measure((std::to_string(small) + " small files (1-64 KB)").c_str(), engine, smallPaths, smallSizes, &foundSmall);
  Measure((std::to_string(big) + " files of " + std::to_string(bigMb) + " MB").c_str(), engine, bigPaths,
          bigSizes, &foundBig);
  std::printf("  findings: %d of %d infected files\n", foundSmall + foundBig, infected);

  off();
  FreeLibrary(library);
  for (const std::string& path : smallPaths) DeleteFileA(path.c_str());
  for (const std::string& path : bigPaths) DeleteFileA(path.c_str());
  RemoveDirectoryA(folder.c_str());
  return foundSmall + foundBig == infected ? 0 : 1;
}
