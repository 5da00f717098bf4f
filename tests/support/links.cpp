// Shell link files read back through the shell's own link object.
#include "support/links.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace machine {

LinkView ReadLink(const std::string& linkPath) {
  LinkView view;
  // Balanced below; a caller that initialised COM itself keeps it.
  (void)CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      WCHAR wide[1024];
      MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, 1024);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        view.loaded = true;
        auto text = [](const auto& get) {
          char buffer[1024] = "";
          return SUCCEEDED(get(buffer, static_cast<int>(sizeof buffer))) ? std::string(buffer) : std::string();
        };
        view.path = text([&](char* out, int size) { return link->GetPath(out, size, nullptr, SLGP_RAWPATH); });
        view.directory = text([&](char* out, int size) { return link->GetWorkingDirectory(out, size); });
        view.description = text([&](char* out, int size) { return link->GetDescription(out, size); });
        view.arguments = text([&](char* out, int size) { return link->GetArguments(out, size); });
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return view;
}

}  // namespace machine
