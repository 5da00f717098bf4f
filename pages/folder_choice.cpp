// The install-folder page's arithmetic.
#include "folder_choice.h"

#include <cstring>

#include "shell/startup_path.h"

namespace {
constexpr std::size_t kDisplayWhole = 30;
constexpr std::size_t kDisplayHead = 3;
constexpr std::size_t kDisplayTail = 18;
}  // namespace

bool MakeInstallFolder(const char* chosen, char* folder, std::size_t folderSize) {
  std::size_t n = std::strlen(chosen);
  const char* tail = (n > 0 && chosen[n - 1] == '\\') ? "Corvane" : "\\Corvane";
  if (n + std::strlen(tail) + 1 > folderSize) return false;
  std::memcpy(folder, chosen, n);
  std::memcpy(folder + n, tail, std::strlen(tail) + 1);
  return true;
}

void FolderDisplayText(const char* folder, char* out, std::size_t outSize) {
  std::size_t n = std::strlen(folder);
  if (n <= kDisplayWhole) {
    CopyBounded(out, outSize, folder);
    return;
  }
  char cut[kDisplayHead + 3 + kDisplayTail + 1];
  std::memcpy(cut, folder, kDisplayHead);
  std::memcpy(cut + kDisplayHead, "...", 3);
  std::memcpy(cut + kDisplayHead + 3, folder + n - kDisplayTail, kDisplayTail + 1);
  CopyBounded(out, outSize, cut);
}
