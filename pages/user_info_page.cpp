// User-information page (113): the user's name and company, offered from the
// registry and recorded in win.ini.
#include "install/install_records.h"
#include "pages/user_info_page.h"

#include <windows.h>

#include "install/install_folder.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/user_info.h"
#include "resources/ids.h"
#include "ui/window_placement.h"

namespace {

const char kUserInfoKey[] = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
constexpr int kPrefillBufferSize = 256;
constexpr DWORD kRegistryReadSize = 128;
constexpr int kEntryBufferSize = 256;
constexpr int kEntryReadLimit = 255;

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
  CenterOnScreen(page);
  Text name, company;
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

Text FieldText(HWND page, int id) {
  char entry[kEntryBufferSize];
  GetWindowTextA(GetDlgItem(page, id), entry, kEntryReadLimit);
  return entry;
}

void OnUserInfoCommand(HWND page, int command) {
  if (command == IDC_NEXT) RecordUser(FieldText(page, IDC_USER_NAME), FieldText(page, IDC_USER_COMPANY));
  FollowFlow(page, IDD_USERINFO, command);
}

}  // namespace

const PageHandlers kUserInfoPage = {SidePicture::Shown, OnUserInfoInit, OnUserInfoCommand, NULL};

void ReadOfferedUser(Text* name, Text* company) {
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

void RecordUser(const Text& name, const Text& company) {
  DeleteTempFile();
  (void)WriteProfileStringA(kRecordSection, kNameRecord, name.c_str());
  (void)WriteProfileStringA(kRecordSection, kCompanyRecord, company.c_str());
}
