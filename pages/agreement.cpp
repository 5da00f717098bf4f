// Agreement page (112) and user-information page (113).
#include <windows.h>

#include "pages/pages.h"
#include "pages/user_info.h"
#include "resources/ids.h"
#include "shell/shell_state.h"

namespace {

const char kUserInfoKey[] = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
constexpr int kPrefillBufferSize = 256;
constexpr DWORD kRegistryReadSize = 128;
constexpr int kEntryBufferSize = 256;
constexpr int kEntryReadLimit = 255;

void OnAgreementInit(HWND page) {
  CenterPage(page);
  SetWindowTextA(GetDlgItem(page, IDC_AGREEMENT_TEXT), kAgreementText);
  FocusNext(page);
}

// Reads one value of at most 128 bytes; a missing or longer value leaves the
// buffer empty.
void ReadPrefill(HKEY key, const char* name, char* buffer) {
  DWORD size = kRegistryReadSize;
  if (RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS)
    buffer[0] = '\0';
  buffer[kRegistryReadSize - 1 < size ? kRegistryReadSize - 1 : size] = '\0';
}

// Offers the name and company that other setup programs recorded for the
// current user.
void OnUserInfoInit(HWND page) {
  CenterPage(page);
  char name[kPrefillBufferSize] = "";
  char company[kPrefillBufferSize] = "";
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kUserInfoKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    ReadPrefill(key, "DefCompany", company);
    ReadPrefill(key, "DefName", name);
    RegCloseKey(key);
  }
  SetWindowTextA(GetDlgItem(page, IDC_USER_NAME), name);
  SetWindowTextA(GetDlgItem(page, IDC_USER_COMPANY), company);
  FocusNext(page);
}

void DeleteTempFile() {
  char temp[kPathBufferSize];
  DWORD n = GetEnvironmentVariableA("TEMP", temp, sizeof temp);
  if (n == 0 || n >= sizeof temp) return;
  char path[kPathBufferSize];
  // The file is usually absent; the result does not matter.
  if (BuildTempFilePath(temp, path, sizeof path)) (void)DeleteFileA(path);
}

void RecordField(HWND page, int id, const char* key) {
  char entry[kEntryBufferSize];
  GetWindowTextA(GetDlgItem(page, id), entry, kEntryReadLimit);
  (void)WriteProfileStringA("Corvane", key, entry);
}

void OnUserInfoCommand(HWND page, int command) {
  if (command == IDC_NEXT) {
    DeleteTempFile();
    RecordField(page, IDC_USER_NAME, "Name");
    RecordField(page, IDC_USER_COMPANY, "Company");
  }
  FollowFlow(page, IDD_USERINFO, command);
}

}  // namespace

INT_PTR CALLBACK AgreementPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      OnAgreementInit(page);
      return FALSE;
    case WM_COMMAND:
      FollowFlow(page, IDD_AGREEMENT, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK UserInfoPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      OnUserInfoInit(page);
      return FALSE;
    case WM_COMMAND:
      OnUserInfoCommand(page, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}
