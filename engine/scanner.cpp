// Identification: which of our findings a file's bytes make, and which one
// is offered first when there are several (formats.h).
#include "scanner.h"

#include "common/memory.h"
#include "engine_api.h"

namespace {

// Findings that count from their first occurrence anywhere in the file.
struct Anywhere {
  Sig sig;
  const char* name;
  short report;
  Treatment treatment;
};
constexpr Anywhere kAnywhere[] = {
    {Sig::kSmearBody, "CvTest.Smear", CV_REPORT_DELETE_ONLY, Treatment::kDelete},
    {Sig::kMorphBody, "CvTest.Morph", CV_REPORT_UNTREATABLE, Treatment::kDelete},
    {Sig::kInertBody, "CvTest.Inert", CV_REPORT_IGNORE, Treatment::kNothing},
};

Finding Found(const char* name, short report, Treatment treatment, uint64_t size) {
  Finding finding{};
  finding.name = name;
  finding.report = report;
  finding.treatment = treatment;
  finding.file_size = size;
  return finding;
}

}  // namespace

bool SignatureSet::Build() {
  Pattern patterns[kSearchedCount];
  PatternRef refs[kSearchedCount];
  for (size_t id = 0; id < kSearchedCount; ++id) {
    patterns[id] = SignaturePattern(static_cast<Sig>(id));
    refs[id] = PatternRef{patterns[id].bytes, patterns[id].size};
  }
  return automaton_.Build(refs, kSearchedCount);
}

FileAnalyzer::FileAnalyzer(const SignatureSet& signatures) : stream_(signatures.automaton()) {
  for (uint64_t& at : first_at_) at = kNowhere;
}

void FileAnalyzer::Feed(const unsigned char* data, size_t size) {
  if (head_size_ < kHeadKept) {
    size_t take = kHeadKept - head_size_ < size ? kHeadKept - head_size_ : size;
    CopyBytes(head_ + head_size_, data, take);
    head_size_ += take;
  }
  if (size >= kTailKept) {
    CopyBytes(tail_, data + size - kTailKept, kTailKept);
    tail_size_ = kTailKept;
  } else if (size > 0) {
    size_t keep = tail_size_ < kTailKept - size ? tail_size_ : kTailKept - size;
    MoveBytes(tail_, tail_ + tail_size_ - keep, keep);
    CopyBytes(tail_ + keep, data, size);
    tail_size_ = keep + size;
  }
  // Matches come in the order of their ends and the patterns that compete
  // for "first" are of one length, so the first report is the earliest.
  stream_.Feed(data, size, [this](size_t id, uint64_t at) {
    if (first_at_[id] == kNowhere) first_at_[id] = at;
  });
}

Finding FileAnalyzer::Finish() const {
  uint64_t size = stream_.position();
  auto at_start = [this](Sig sig) { return first_at_[static_cast<size_t>(sig)] == 0; };

  if (at_start(Sig::kEicar) && IsEicarFile(head_, head_size_, size)) {
    return Found("EICAR-Test-File", CV_REPORT_DELETE_ONLY, Treatment::kDelete, size);
  }
  if (at_start(Sig::kCloakHead)) {
    Finding finding = Found("CvTest.Cloak", CV_REPORT_REPAIRABLE, Treatment::kRepair, size);
    if (ReadCloakLayer(head_, head_size_, size, &finding.plan)) return finding;
    return Found("CvTest.Cloak", CV_REPORT_UNTREATABLE, Treatment::kDelete, size);
  }
  if (at_start(Sig::kMenderStub)) {
    Finding finding = Found("CvTest.Mender", CV_REPORT_REPAIRABLE, Treatment::kRepair, size);
    if (ReadMenderLayer(tail_, tail_size_, size, &finding.plan)) return finding;
    return Found("CvTest.Mender", CV_REPORT_UNTREATABLE, Treatment::kDelete, size);
  }
  const Anywhere* first = nullptr;
  for (const Anywhere& candidate : kAnywhere) {
    uint64_t at = first_at_[static_cast<size_t>(candidate.sig)];
    if (at != kNowhere && (!first || at < first_at_[static_cast<size_t>(first->sig)])) first = &candidate;
  }
  if (first) return Found(first->name, first->report, first->treatment, size);
  return Found(nullptr, 0, Treatment::kNothing, size);
}

bool ScanStream(const SignatureSet& signatures, ByteReader& in, unsigned char* buffer,
                size_t buffer_size, Finding* finding) {
  FileAnalyzer analyzer(signatures);
  for (;;) {
    long got = in.Read(buffer, buffer_size);
    if (got < 0 || static_cast<size_t>(got) > buffer_size) return false;
    if (got == 0) break;
    analyzer.Feed(buffer, static_cast<size_t>(got));
  }
  *finding = analyzer.Finish();
  return true;
}
