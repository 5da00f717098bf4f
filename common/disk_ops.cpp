// The one way setup, its support library and the uninstaller change the PC.
#include "common/disk_ops.h"

namespace {

#ifdef CORVANE_FAULT_SEAM

enum class Fault : LONG { None, Stop, Full, Deny };

// One plan and one count for the whole process: setup and the support
// library each carry their own copy of this code, and a named mapping is
// what both see.  The first to look reads the plan from the environment and
// takes it out, so that the programs this one starts run without it.
struct Plan {
  LONG count;
  Fault fault;
  LONG at;
  char list[MAX_PATH];
};

bool StartsWith(const char* text, const char* prefix) {
  while (*prefix)
    if (*text++ != *prefix++) return false;
  return true;
}

void ReadPlan(Plan* plan) {
  char spec[32] = "";
  if (GetEnvironmentVariableA("CORVANE_FAULT", spec, sizeof spec) < sizeof spec) {
    if (StartsWith(spec, "stop:")) plan->fault = Fault::Stop;
    if (StartsWith(spec, "full:")) plan->fault = Fault::Full;
    if (StartsWith(spec, "deny:")) plan->fault = Fault::Deny;
    for (const char* digit = spec + 5; plan->fault != Fault::None && *digit >= '0' && *digit <= '9'; ++digit)
      plan->at = plan->at * 10 + (*digit - '0');
  }
  DWORD n = GetEnvironmentVariableA("CORVANE_FAULT_LIST", plan->list, sizeof plan->list);
  if (n >= sizeof plan->list) plan->list[0] = '\0';
  (void)SetEnvironmentVariableA("CORVANE_FAULT", NULL);
  (void)SetEnvironmentVariableA("CORVANE_FAULT_LIST", NULL);
}

Plan* ThePlan() {
  static Plan* plan = NULL;
  if (plan == NULL) {
    char name[48];
    wsprintfA(name, "CorvaneDiskOps%lu", GetCurrentProcessId());
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(Plan), name);
    const bool first = GetLastError() != ERROR_ALREADY_EXISTS;
    // The mapping stays open as long as the process: the plan must outlive
    // every module that reads it.
    if (mapping != NULL) plan = static_cast<Plan*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (plan != NULL && first) ReadPlan(plan);
  }
  return plan;
}

void List(const Plan& plan, LONG number, const char* what, const char* path) {
  HANDLE file = CreateFileA(plan.list, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[MAX_PATH + 64];
  int length = wsprintfA(line, "%ld\t%s\t", number, what);
  DWORD written;
  (void)SetFilePointer(file, 0, NULL, FILE_END);
  (void)WriteFile(file, line, static_cast<DWORD>(length), &written, NULL);
  if (path) (void)WriteFile(file, path, lstrlenA(path), &written, NULL);
  (void)WriteFile(file, "\r\n", 2, &written, NULL);
  CloseHandle(file);
}

// False when the operation is to fail; never returns when it is to stop.
bool Proceed(const char* what, const char* path) {
  Plan* plan = ThePlan();
  if (plan == NULL || (plan->fault == Fault::None && plan->list[0] == '\0')) return true;
  LONG number = InterlockedIncrement(&plan->count);
  if (plan->list[0] != '\0') List(*plan, number, what, path);
  if (number != plan->at) return true;
  switch (plan->fault) {
    case Fault::Stop:
      TerminateProcess(GetCurrentProcess(), ops::kStoppedExitCode);
      return false;
    case Fault::Full:
      SetLastError(ERROR_DISK_FULL);
      return false;
    case Fault::Deny:
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    case Fault::None:
      break;
  }
  return true;
}

#else

inline bool Proceed(const char*, const char*) { return true; }

#endif

LONG Refused() { return static_cast<LONG>(GetLastError()); }

}  // namespace

namespace ops {

HANDLE OpenForWriting(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  if (!Proceed("create", path)) return INVALID_HANDLE_VALUE;
  return CreateFileA(path, access, share, NULL, disposition, flags, NULL);
}

bool Write(HANDLE file, const void* bytes, DWORD size) {
  if (!Proceed("write", NULL)) return false;
  DWORD written = 0;
  return WriteFile(file, bytes, size, &written, NULL) && written == size;
}

bool Flush(HANDLE file) { return Proceed("flush", NULL) && FlushFileBuffers(file); }

bool Move(const char* from, const char* to) { return Proceed("move", from) && MoveFileA(from, to); }

bool Copy(const char* from, const char* to, bool failIfExists) {
  return Proceed("copy", to) && CopyFileA(from, to, failIfExists);
}

bool Delete(const char* path) { return Proceed("delete", path) && DeleteFileA(path); }

bool SetAttributes(const char* path, DWORD attributes) {
  return Proceed("attributes", path) && SetFileAttributesA(path, attributes);
}

bool MakeFolder(const char* path) { return Proceed("make folder", path) && CreateDirectoryA(path, NULL); }

bool RemoveFolder(const char* path) { return Proceed("remove folder", path) && RemoveDirectoryA(path); }

bool WriteProfile(const char* section, const char* key, const char* value) {
  return Proceed("win.ini", section) && WriteProfileStringA(section, key, value);
}

bool WritePrivateProfile(const char* section, const char* key, const char* value, const char* file) {
  return Proceed("profile", file) && WritePrivateProfileStringA(section, key, value, file);
}

LONG CreateKey(HKEY root, const char* key, REGSAM access, HKEY* opened) {
  if (!Proceed("create key", key)) return Refused();
  DWORD disposition;
  // Non-volatile: a volatile key would be gone at the next start of Windows.
  return RegCreateKeyExA(root, key, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, access, NULL, opened,
                         &disposition);
}

LONG SetString(HKEY key, const char* name, const char* data) {
  if (!Proceed("set value", name)) return Refused();
  // The count includes the terminator, as REG_SZ data must: without it the
  // NT family stores an unterminated string that readers may run past.
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                        static_cast<DWORD>(lstrlenA(data) + 1));
}

LONG SetNumber(HKEY key, const char* name, DWORD data) {
  if (!Proceed("set value", name)) return Refused();
  return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

LONG DeleteValue(HKEY key, const char* name) {
  if (!Proceed("delete value", name)) return Refused();
  return RegDeleteValueA(key, name);
}

LONG DeleteKey(HKEY root, const char* key) {
  if (!Proceed("delete key", key)) return Refused();
  return RegDeleteKeyA(root, key);
}

bool Other(const char* what, const char* path) { return Proceed(what, path); }

}  // namespace ops
