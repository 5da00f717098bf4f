// The benchmark's files: many small ones (some carrying test infections) and
// a few large clean ones, their contents made from a seed so that the native
// and the Wine benchmark scan the same bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/samples.h"

struct BenchFile {
  std::string name;
  uint64_t size;    // of the clean content
  uint64_t seed;
  int infection;    // 0 none, 1 Cloak, 2 Mender, 3 Smear, 4 Morph
};

inline std::vector<BenchFile> BenchWorkload(int smallCount, int bigCount, uint64_t bigSize) {
  std::vector<BenchFile> files;
  uint64_t x = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < smallCount; ++i) {
    x = x * 6364136223846793005u + 1442695040888963407u;
    uint64_t size = 1024 + (x >> 33) % (63 * 1024);
    int infection = i % 50 == 7 ? 1 + (i / 50) % 4 : 0;
    files.push_back({"S" + std::to_string(i) + ".BIN", size, x, infection});
  }
  for (int i = 0; i < bigCount; ++i) files.push_back({"BIG" + std::to_string(i) + ".BIN", bigSize, 77u + i, 0});
  return files;
}

// Bytes [offset, offset + size) of a file's clean content; offset a multiple of 8.
inline void BenchContent(uint64_t seed, uint64_t offset, unsigned char* data, size_t size) {
  for (size_t i = 0; i < size; i += 8) {
    uint64_t z = seed + (offset + i) * 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    z ^= z >> 31;
    for (size_t k = 0; k < 8 && i + k < size; ++k) data[i + k] = static_cast<unsigned char>(z >> (8 * k));
  }
}

// A small file whole, infected as the workload says.
inline std::string BenchSmallFile(const BenchFile& file) {
  std::string bytes(static_cast<size_t>(file.size), '\0');
  BenchContent(file.seed, 0, reinterpret_cast<unsigned char*>(&bytes[0]), bytes.size());
  switch (file.infection) {
    case 1: return InfectCloak(bytes);
    case 2: return InfectMender(bytes);
    case 3: return InfectSmear(bytes);
    case 4: return InfectMorph(bytes);
  }
  return bytes;
}
