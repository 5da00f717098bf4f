// engine_bench [--small N] [--big N] [--big-mb M] [--dir D] [--keep]
// Prints the engine's scan throughput over a generated set of files beside
// the time to simply read the same files in the same 64 KB pieces: on warm
// files (read once before timing, so the figures compare the engine with the
// cost of the reads themselves), and on cold ones, where the disk sets the
// pace.  A cold pass reads a copy of the set that nothing has read yet, its
// pages dropped from the cache: a second read of the same file may come from
// a cache below this system's (a virtual machine's host), which would favour
// whichever pass ran second.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/bench/workload.h"
#include "engine/scanner.h"
#include "engine/stdio_reader.h"

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr double kMB = 1024.0 * 1024.0;

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Write(const std::string& path, const BenchFile& file) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    std::perror(path.c_str());
    std::exit(1);
  }
  if (file.size < 1024 * 1024) {
    std::string bytes = BenchSmallFile(file);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
  } else {
    std::vector<unsigned char> chunk(kChunk);
    for (uint64_t at = 0; at < file.size; at += kChunk) {
      size_t n = static_cast<size_t>(file.size - at < kChunk ? file.size - at : kChunk);
      BenchContent(file.seed, at, chunk.data(), n);
      std::fwrite(chunk.data(), 1, n, out);
    }
  }
  std::fflush(out);
  (void)fsync(fileno(out));  // clean pages, so that Evict can drop them
  std::fclose(out);
}

// Reads every file; the bytes are summed so that the reads cannot be skipped.
uint64_t ReadAll(const std::vector<std::string>& paths, unsigned char* buffer, unsigned* sum) {
  uint64_t total = 0;
  for (const std::string& path : paths) {
    FILE* in = std::fopen(path.c_str(), "rb");
    for (size_t n; in && (n = std::fread(buffer, 1, kChunk, in)) > 0;) {
      total += n;
      *sum += buffer[n - 1];
    }
    if (in) std::fclose(in);
  }
  return total;
}

uint64_t ScanAll(const SignatureSet& signatures, const std::vector<std::string>& paths, unsigned char* buffer,
                 int* found) {
  uint64_t total = 0;
  for (const std::string& path : paths) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) continue;
    StdioReader reader(in);
    Finding finding;
    if (ScanStream(signatures, reader, buffer, kChunk, &finding)) {
      total += finding.fileSize;
      if (finding.Found()) ++*found;
    }
    std::fclose(in);
  }
  return total;
}

struct Rates {
  double read, scan;
};

// Drops the files' pages from the page cache (they were flushed when written).
void Evict(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) continue;
    (void)posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
  }
}

// `readPaths` and `scanPaths` hold the same bytes, never read before.
Rates MeasureCold(const SignatureSet& signatures, const std::vector<std::string>& readPaths,
                  const std::vector<std::string>& scanPaths) {
  std::vector<unsigned char> buffer(kChunk);
  unsigned sum = 0;
  int found = 0;
  Evict(readPaths);
  Evict(scanPaths);
  double t0 = Now();
  uint64_t bytes = ReadAll(readPaths, buffer.data(), &sum);
  double t1 = Now();
  uint64_t scanned = ScanAll(signatures, scanPaths, buffer.data(), &found);
  double t2 = Now();
  if (sum == 1) std::printf(" ");
  return Rates{bytes / kMB / (t1 - t0), scanned / kMB / (t2 - t1)};
}

// Best of three rounds of each, alternating, in MB/s.
Rates Measure(const SignatureSet& signatures, const std::vector<std::string>& paths, int* found) {
  std::vector<unsigned char> buffer(kChunk);
  unsigned sum = 0;
  ReadAll(paths, buffer.data(), &sum);
  Rates best = {0, 0};
  for (int round = 0; round < 3; ++round) {
    double t0 = Now();
    uint64_t bytes = ReadAll(paths, buffer.data(), &sum);
    double t1 = Now();
    *found = 0;
    uint64_t scanned = ScanAll(signatures, paths, buffer.data(), found);
    double t2 = Now();
    if (bytes / kMB / (t1 - t0) > best.read) best.read = bytes / kMB / (t1 - t0);
    if (scanned / kMB / (t2 - t1) > best.scan) best.scan = scanned / kMB / (t2 - t1);
  }
  if (sum == 1) std::printf(" ");
  return best;
}

double InMemory(const SignatureSet& signatures) {
  std::vector<unsigned char> data(64 * 1024 * 1024);
  BenchContent(1, 0, data.data(), data.size());
  double best = 0;
  for (int round = 0; round < 3; ++round) {
    double t0 = Now();
    FileAnalyzer analyzer(signatures);
    for (size_t at = 0; at < data.size(); at += kChunk) analyzer.Feed(data.data() + at, kChunk);
    Finding finding = analyzer.Finish();
    double t = Now() - t0;
    if (finding.Found()) std::printf("unexpected finding in random data\n");
    if (data.size() / kMB / t > best) best = data.size() / kMB / t;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int small = 2000, big = 3, bigMb = 100;
  bool keep = false;
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = std::string(tmp ? tmp : "/tmp") + "/corvane-engine-bench";
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--small" && i + 1 < argc) small = std::atoi(argv[++i]);
    else if (a == "--big" && i + 1 < argc) big = std::atoi(argv[++i]);
    else if (a == "--big-mb" && i + 1 < argc) bigMb = std::atoi(argv[++i]);
    else if (a == "--dir" && i + 1 < argc) dir = argv[++i];
    else if (a == "--keep") keep = true;
    else {
      std::fprintf(stderr, "usage: engine_bench [--small N] [--big N] [--big-mb M] [--dir D] [--keep]\n");
      return 2;
    }
  }
  mkdir(dir.c_str(), 0755);
  std::vector<BenchFile> files = BenchWorkload(small, big, static_cast<uint64_t>(bigMb) * 1024 * 1024);
  // The warm set, and two copies for the cold passes.
  std::vector<std::string> smallPaths, bigPaths, cold[2][2];
  int infected = 0;
  for (const BenchFile& file : files) {
    bool isSmall = file.size < 1024 * 1024;
    std::string path = dir + "/" + file.name;
    Write(path, file);
    (isSmall ? smallPaths : bigPaths).push_back(path);
    for (int copy = 0; copy < 2; ++copy) {
      std::string copyPath = dir + "/" + (copy ? "B" : "A") + file.name;
      Write(copyPath, file);
      cold[copy][isSmall ? 0 : 1].push_back(copyPath);
    }
    if (file.infection) ++infected;
  }

  SignatureSet signatures;
  if (!signatures.Build()) return 2;
  int foundSmall = 0, foundBig = 0;
  Rates s = Measure(signatures, smallPaths, &foundSmall);
  Rates b = Measure(signatures, bigPaths, &foundBig);
  Rates sc = MeasureCold(signatures, cold[0][0], cold[1][0]);
  Rates bc = MeasureCold(signatures, cold[0][1], cold[1][1]);
  double memory = InMemory(signatures);

  std::string smallLabel = std::to_string(small) + " small files (1-64 KB)";
  std::string bigLabel = std::to_string(big) + " files of " + std::to_string(bigMb) + " MB";
  auto row = [](const std::string& label, const char* state, Rates r) {
    std::printf("  %-28s %-5s %10.0f %10.0f %8.2f\n", label.c_str(), state, r.read, r.scan, r.scan / r.read);
  };
  std::printf("engine_bench (native, 64 KB reads)\n");
  std::printf("  %-28s %-5s %10s %10s %8s\n", "", "", "read MB/s", "scan MB/s", "scan/read");
  row(smallLabel, "warm", s);
  row(smallLabel, "cold", sc);
  row(bigLabel, "warm", b);
  row(bigLabel, "cold", bc);
  std::printf("  %-28s %-5s %10s %10.0f\n", "search alone, in memory", "", "", memory);
  std::printf("  findings: %d of %d infected files\n", foundSmall + foundBig, infected);

  if (!keep) {
    for (const std::vector<std::string>* set : {&smallPaths, &bigPaths, &cold[0][0], &cold[0][1], &cold[1][0], &cold[1][1]}) {
      for (const std::string& path : *set) unlink(path.c_str());
    }
    rmdir(dir.c_str());
  }
  return foundSmall + foundBig == infected ? 0 : 1;
}
