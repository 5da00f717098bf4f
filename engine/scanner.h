// Identifying what a file carries, from one pass over its bytes.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "byte_io.h"
#include "formats.h"
#include "matcher.h"
#include "repair.h"
#include "signatures.h"

enum class Treatment { Nothing, Repair, Delete };

// What a probe found; `name` is null when the file is clean.
struct Finding {
  const char* name;
  short report;  // CV_REPORT_*
  Treatment treatment;
  uint64_t fileSize;  // as probed; a treatment checks it first
  RepairPlan plan;    // for Treatment::Repair

  bool Found() const { return name != nullptr; }
};

// The search automaton over every searched pattern; built once per turn-on.
class SignatureSet {
 public:
  // False when memory runs out.
  bool Build();
  void Release() { automaton_.Release(); }
  const PatternAutomaton& Automaton() const { return automaton_; }

 private:
  PatternAutomaton automaton_;
};

// Takes a file's bytes in order, in pieces of any size, and keeps only what
// identification needs: the size, the first and last bytes, and where each
// pattern first occurs.
class FileAnalyzer {
 public:
  explicit FileAnalyzer(const SignatureSet& signatures);
  void Feed(const unsigned char* data, size_t size);
  Finding Finish() const;

 private:
  static constexpr size_t kHeadKept = kEicarMaxFileSize;  // also covers the Cloak header
  static constexpr size_t kTailKept = kMenderTrailerSize;
  static constexpr uint64_t kNowhere = ~uint64_t{0};

  PatternStream stream_;
  uint64_t firstAt_[kSearchedCount];
  unsigned char head_[kHeadKept];
  size_t headSize_ = 0;
  unsigned char tail_[kTailKept];
  size_t tailSize_ = 0;
};

// Reads `in` to its end through `buffer` and identifies it.  False on a read
// error (the caller then takes the file as clean).
bool ScanStream(const SignatureSet& signatures, ByteReader& in, unsigned char* buffer,
                size_t bufferSize, Finding* finding);
