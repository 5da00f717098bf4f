// Agreement page (112) and user-information page (113).
#include <windows.h>

#include <string>

#include "pages/page_common.h"
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
  std::string name, company;
  ReadOfferedUser(&name, &company);
  SetWindowTextA(GetDlgItem(page, IDC_USER_NAME), name.c_str());
  SetWindowTextA(GetDlgItem(page, IDC_USER_COMPANY), company.c_str());
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

std::string FieldText(HWND page, int id) {
  char entry[kEntryBufferSize];
  GetWindowTextA(GetDlgItem(page, id), entry, kEntryReadLimit);
  return entry;
}

void OnUserInfoCommand(HWND page, int command) {
  if (command == IDC_NEXT) RecordUser(FieldText(page, IDC_USER_NAME), FieldText(page, IDC_USER_COMPANY));
  FollowFlow(page, IDD_USERINFO, command);
}

}  // namespace

void ReadOfferedUser(std::string* name, std::string* company) {
  char nameValue[kPrefillBufferSize] = "";
  char companyValue[kPrefillBufferSize] = "";
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kUserInfoKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    ReadPrefill(key, "DefCompany", companyValue);
    ReadPrefill(key, "DefName", nameValue);
    RegCloseKey(key);
  }
  *name = nameValue;
  *company = companyValue;
}

void RecordUser(const std::string& name, const std::string& company) {
  DeleteTempFile();
  (void)WriteProfileStringA("Corvane", "Name", name.c_str());
  (void)WriteProfileStringA("Corvane", "Company", company.c_str());
}

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
