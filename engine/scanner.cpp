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
    {Sig::SmearBody, "CvTest.Smear", CV_REPORT_DELETE_ONLY, Treatment::Delete},
    {Sig::MorphBody, "CvTest.Morph", CV_REPORT_UNTREATABLE, Treatment::Delete},
    {Sig::InertBody, "CvTest.Inert", CV_REPORT_IGNORE, Treatment::Nothing},
};

Finding Found(const char* name, short report, Treatment treatment, uint64_t size) {
  Finding finding{};
  finding.name = name;
  finding.report = report;
  finding.treatment = treatment;
  finding.fileSize = size;
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

FileAnalyzer::FileAnalyzer(const SignatureSet& signatures) : stream_(signatures.Automaton()) {
  for (uint64_t& at : firstAt_) at = kNowhere;
}

void FileAnalyzer::Feed(const unsigned char* data, size_t size) {
  if (headSize_ < kHeadKept) {
    size_t take = kHeadKept - headSize_ < size ? kHeadKept - headSize_ : size;
    CopyBytes(head_ + headSize_, data, take);
    headSize_ += take;
  }
  if (size >= kTailKept) {
    CopyBytes(tail_, data + size - kTailKept, kTailKept);
    tailSize_ = kTailKept;
  } else if (size > 0) {
    size_t keep = tailSize_ < kTailKept - size ? tailSize_ : kTailKept - size;
    MoveBytes(tail_, tail_ + tailSize_ - keep, keep);
    CopyBytes(tail_ + keep, data, size);
    tailSize_ = keep + size;
  }
  // Matches come in the order of their ends and the patterns that compete
  // for "first" are of one length, so the first report is the earliest.
  stream_.Feed(data, size, [this](size_t id, uint64_t at) {
    if (firstAt_[id] == kNowhere) firstAt_[id] = at;
  });
}

Finding FileAnalyzer::Finish() const {
  uint64_t size = stream_.Position();
  auto atStart = [this](Sig sig) { return firstAt_[static_cast<size_t>(sig)] == 0; };

  if (atStart(Sig::Eicar) && IsEicarFile(head_, headSize_, size)) {
    return Found("EICAR-Test-File", CV_REPORT_DELETE_ONLY, Treatment::Delete, size);
  }
  if (atStart(Sig::CloakHead)) {
    Finding finding = Found("CvTest.Cloak", CV_REPORT_REPAIRABLE, Treatment::Repair, size);
    if (ReadCloakLayer(head_, headSize_, size, &finding.plan)) return finding;
    return Found("CvTest.Cloak", CV_REPORT_UNTREATABLE, Treatment::Delete, size);
  }
  if (atStart(Sig::MenderStub)) {
    Finding finding = Found("CvTest.Mender", CV_REPORT_REPAIRABLE, Treatment::Repair, size);
    if (ReadMenderLayer(tail_, tailSize_, size, &finding.plan)) return finding;
    return Found("CvTest.Mender", CV_REPORT_UNTREATABLE, Treatment::Delete, size);
  }
  const Anywhere* first = nullptr;
  for (const Anywhere& candidate : kAnywhere) {
    uint64_t at = firstAt_[static_cast<size_t>(candidate.sig)];
    if (at != kNowhere && (!first || at < firstAt_[static_cast<size_t>(first->sig)])) first = &candidate;
  }
  if (first) return Found(first->name, first->report, first->treatment, size);
  return Found(nullptr, 0, Treatment::Nothing, size);
}

bool ScanStream(const SignatureSet& signatures, ByteReader& in, unsigned char* buffer,
                size_t bufferSize, Finding* finding) {
  FileAnalyzer analyzer(signatures);
  for (;;) {
    long got = in.Read(buffer, bufferSize);
    if (got < 0 || static_cast<size_t>(got) > bufferSize) return false;
    if (got == 0) break;
    analyzer.Feed(buffer, static_cast<size_t>(got));
  }
  *finding = analyzer.Finish();
  return true;
}
