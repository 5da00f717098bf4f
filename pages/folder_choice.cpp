// The install-folder page's arithmetic.
#include "folder_choice.h"

#include "common/bounded_text.h"
#include "common/memory.h"
#include "common/bounded_text.h"

namespace {
constexpr size_t kDisplayWhole = 30;
constexpr size_t kDisplayHead = 3;
constexpr size_t kDisplayTail = 18;
}  // namespace

bool MakeInstallFolder(const char* chosen, char* folder, size_t folderSize) {
  size_t n = TextLength(chosen);
  const char* tail = (n > 0 && chosen[n - 1] == '\\') ? "Corvane" : "\\Corvane";
  if (n + TextLength(tail) + 1 > folderSize) return false;
  CopyBytes(folder, chosen, n);
  CopyBytes(folder + n, tail, TextLength(tail) + 1);
  return true;
}

void FolderDisplayText(const char* folder, char* out, size_t outSize) {
  size_t n = TextLength(folder);
  if (n <= kDisplayWhole) {
    CopyBounded(out, outSize, folder);
    return;
  }
  char cut[kDisplayHead + 3 + kDisplayTail + 1];
  CopyBytes(cut, folder, kDisplayHead);
  CopyBytes(cut + kDisplayHead, "...", 3);
  CopyBytes(cut + kDisplayHead + 3, folder + n - kDisplayTail, kDisplayTail + 1);
  CopyBounded(out, outSize, cut);
}
