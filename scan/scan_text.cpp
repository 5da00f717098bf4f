// The scan's path and text handling.
#include "scan_text.h"

#include <cstdlib>

namespace {
constexpr std::size_t kFieldPadWidth = 74;
constexpr std::size_t kFieldMaxBytes = 79;
}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string CurrentFileText(const std::string& path) {
  std::string text = path;
  if (text.size() < kFieldPadWidth) text.append(kFieldPadWidth - text.size(), ' ');
  if (text.size() > kFieldMaxBytes) text.resize(kFieldMaxBytes);
  return text;
}

std::string VirusQuestion(int reportCode, const std::string& path, const std::string& virus) {
  const char* tail;
  switch (reportCode) {
    case 0: tail = " 바이러스는 복구 가능한 바이러스입니다. 안전하게 복구할까요?"; break;
    case 1: tail = " 바이러스는 복구 불가능한 바이러스입니다. 안전하게 삭제하시겠습니까?"; break;
    default: tail = " 바이러스는 현 버전에서는 치료할 수 없습니다. 안전하게 삭제하시겠습니까?"; break;
  }
  return path + "\n\n" + virus + tail;
}

std::string NextCount(const std::string& current) {
  return std::to_string(std::atoi(current.c_str()) + 1);
}

std::string TreatmentLogLine(const std::string& path, short result) {
  if (result == 1) return "치료함: " + path;
  if (result == 2) return "삭제함: " + path;
  return "치료하지 못하고 남김: " + path;
}
