// The scan's path and text handling.
#include "scan_text.h"

#include <limits.h>

#include "common/bounded_text.h"

namespace {
constexpr size_t kFieldPadWidth = 74;
constexpr size_t kFieldMaxBytes = 79;
}  // namespace

Text CurrentFileText(const Text& path) {
  Text text = path;
  if (text.size() < kFieldPadWidth) text.append(kFieldPadWidth - text.size(), ' ');
  if (text.size() > kFieldMaxBytes) text.resize(kFieldMaxBytes);
  return text;
}

Text VirusQuestion(int reportCode, const Text& path, const Text& virus) {
  const char* tail;
  switch (reportCode) {
    case 0: tail = " 바이러스는 복구 가능한 바이러스입니다. 안전하게 복구할까요?"; break;
    case 1: tail = " 바이러스는 복구 불가능한 바이러스입니다. 안전하게 삭제하시겠습니까?"; break;
    default: tail = " 바이러스는 현 버전에서는 치료할 수 없습니다. 안전하게 삭제하시겠습니까?"; break;
  }
  return path + "\n\n" + virus + tail;
}

Text NextCount(const Text& current) {
  long count = ParseDecimal(current.c_str());
  // A count at the limit stays there instead of wrapping around.
  return SignedDecimalText(count < LONG_MAX ? count + 1 : count);
}

Text TreatmentLogLine(const Text& path, short result) {
  if (result == 1) return "치료함: " + path;
  if (result == 2) return "삭제함: " + path;
  return "치료하지 못하고 남김: " + path;
}
