// Writes one shell link file through IShellLinkA and IPersistFile.
#include "install/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/shell_calls.h"
#include "common/text.h"

#include "install/shortcut_defaults.h"

namespace {

// Applies every setter in turn; the first failure ends the sequence.
HRESULT ApplySettings(IShellLinkA* link, const char* target, const Text& description,
                      const Text& directory, const char* arguments,
                      const char* iconPath, int iconIndex) {
  HRESULT hr = link->SetPath(target);
  if (SUCCEEDED(hr)) hr = link->SetDescription(description.c_str());
  if (SUCCEEDED(hr)) hr = link->SetWorkingDirectory(directory.c_str());
  if (SUCCEEDED(hr) && arguments) hr = link->SetArguments(arguments);
  if (SUCCEEDED(hr) && iconPath) hr = link->SetIconLocation(iconPath, iconIndex);
  return hr;
}

}  // namespace

unsigned CreateShortcut(const char* target, const char* linkPath, const char* description,
                        const char* arguments, const char* workingDirectory,
                        const char* iconPath, int iconIndex) {
  if (!LinkPathHasLnk(linkPath)) return kShortcutNotLnk;
  Text desc = description ? description : "";
  if (!description)
    if (unsigned r = DeriveDescription(linkPath, &desc)) return r;
  Text dir = workingDirectory ? workingDirectory : "";
  if (!workingDirectory)
    if (unsigned r = DeriveWorkingDirectory(target, &dir)) return r;
  // The wide link path has room for 260 characters; a longer one, possible
  // when a description is given, is refused rather than cut.
  WCHAR wide[kShortcutMaxPath + 1];
  if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, NULL, 0) > static_cast<int>(kShortcutMaxPath + 1))
    return kShortcutPathTooLong;

  IShellLinkA* link = NULL;
  HRESULT hr = late::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  if (FAILED(hr)) {
    if (link) link->Release();
    return kShortcutFailed;
  }
  IPersistFile* file = NULL;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    link->Release();
    return kShortcutFailed;
  }
  hr = ApplySettings(link, target, desc, dir, arguments, iconPath, iconIndex);
  if (SUCCEEDED(hr)) {
    MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wide, kShortcutMaxPath + 1);
    hr = file->Save(wide, TRUE);
  }
  file->Release();
  link->Release();
  return SUCCEEDED(hr) ? kShortcutWritten : ShortcutResultFor(hr);
}
