// What a run of setup leaves on the machine.
#include "outcome.h"

#include <windows.h>

#include "check.h"
#include "support/files.h"
#include "support/settings.h"
#include "support/ui.h"
#include "texts.h"

std::string ProgramsFolder() { return machine::ShellFolder("Programs").value_or("(no Programs value)"); }

std::string GroupFolder() { return machine::Join(ProgramsFolder(), texts::kGroupName); }

// The Start menu folder is the Programs folder's parent.
std::string StartMenuFolder() { return machine::FolderOf(ProgramsFolder()); }

std::string MainLink() { return machine::Join(StartMenuFolder(), texts::kMainLink); }

std::string ScheduleLink() {
  return machine::Join(machine::Join(ProgramsFolder(), texts::kStartupFolder), texts::kScheduleLink);
}

void PrepareMachine() {
  // Windows 98 keeps start-up files in C:\ and DOS commands in Command; the
  // prefix has neither, and the scan should find files in each folder.
  std::string windows = machine::WindowsFolder();
  machine::WriteFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n");
  machine::WriteFile("C:\\CONFIG.SYS", "FILES=40\r\n");
  machine::MakeFolders(windows + "\\command");
  machine::WriteFile(windows + "\\command\\CHOICE.COM", "");
  machine::WriteFile(machine::SystemFolder() + "\\CVSKIP.DLL", "");
}

std::vector<InstallCall> ExpectedInstallCalls(const std::string& installFolder) {
  return {
      {installFolder, "CV32W.EXE", "1"},
      {installFolder, "Schedule.EXE", "1"},
      {installFolder, "Unsetup.exe", "1"},
      // SETUP004, %SCVSKIP.DLL, is already in the system folder: no call.
      {machine::SystemFolder(), "CVSYS.DLL", "1"},
      {machine::WindowsFolder(), "CVWIN.INI", "1"},
  };
}

std::vector<std::string> ExpectedCopyLines(const std::string& installFolder) {
  return {
      installFolder + "\\CV32W.EXE",
      installFolder + "\\Schedule.EXE",
      installFolder + "\\Unsetup.exe",
      machine::SystemFolder() + "\\CVSKIP.DLL",
      machine::SystemFolder() + "\\CVSYS.DLL",
      machine::WindowsFolder() + "\\CVWIN.INI",
  };
}

void ExpectSetupRun(const std::string& installFolder, int taskMask) {
  std::string path = installFolder + "\\Setup.run";
  std::optional<std::string> bytes = machine::ReadFile(path);
  if (!bytes) {
    Fail("no %s", Show(path).c_str());
    return;
  }
  if (*bytes != std::string(1, static_cast<char>(taskMask))) {
    std::string hex;
    for (unsigned char c : *bytes) hex += Format(" %02X", c);
    Fail("%s holds%s, expected the one byte %02X", Show(path).c_str(), hex.empty() ? " nothing" : hex.c_str(),
         taskMask);
  }
}

void ExpectNoSetupRun(const std::string& installFolder) {
  std::string path = installFolder + "\\Setup.run";
  if (machine::Exists(path)) Fail("%s was written", Show(path).c_str());
}

void ExpectRegistered(const std::string& installFolder) {
  std::string group = GroupFolder();
  ExpectText(machine::Profile("Corvane", "Install").value_or("(absent)"), installFolder, "win.ini Corvane Install");
  ExpectText(machine::Profile("Corvane", "LInstall").value_or("(absent)"), group, "win.ini Corvane LInstall");
  const std::string links[] = {group + "\\Unsetup.LNK", MainLink(), ScheduleLink()};
  for (const std::string& link : links) {
    if (!machine::Exists(link)) Fail("no shortcut %s", Show(link).c_str());
  }
  std::optional<std::string> name = machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, "DisplayName");
  std::optional<std::string> command =
      machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, "UninstallString");
  ExpectText(name.value_or("(absent)"), texts::kUninstallName, "uninstall entry DisplayName");
  ExpectText(command.value_or("(absent)"), "\"" + installFolder + "\\Unsetup.exe\"", "uninstall entry UninstallString");
}

void ExpectNotRegistered() {
  if (auto value = machine::Profile("Corvane", "Install")) Fail("win.ini Corvane Install was written: %s", Show(*value).c_str());
  if (auto value = machine::Profile("Corvane", "LInstall")) Fail("win.ini Corvane LInstall was written: %s", Show(*value).c_str());
  if (machine::Exists(GroupFolder())) Fail("the program group %s was made", Show(GroupFolder()).c_str());
  if (machine::Exists(MainLink())) Fail("the shortcut %s was made", Show(MainLink()).c_str());
  if (machine::RegistryKeyExists(HKEY_LOCAL_MACHINE, texts::kUninstallKey)) Fail("the uninstall entry was made");
}

void ExpectInstalled(const std::string& installFolder, int taskMask) {
  std::vector<InstallCall> calls = InstallCalls();
  std::vector<InstallCall> want = ExpectedInstallCalls(installFolder);
  if (calls.size() != want.size()) Fail("InitInstall was called %zu times, expected %zu", calls.size(), want.size());
  for (size_t i = 0; i < calls.size() && i < want.size(); ++i) {
    ExpectText(calls[i].folder + "|" + calls[i].name + "|" + calls[i].result,
               want[i].folder + "|" + want[i].name + "|" + want[i].result,
               Format("InitInstall call %zu (folder|name|result)", i + 1).c_str());
  }
  for (const InstallCall& call : want) {
    std::string path = call.folder + "\\" + call.name;
    if (!machine::Exists(path)) Fail("installed file %s is missing", Show(path).c_str());
  }
  for (const char* sub : {"VProtect", "Update", "Vlist"}) {
    std::string path = installFolder + "\\" + sub;
    if (!machine::IsFolder(path)) Fail("folder %s was not made", Show(path).c_str());
  }
  ExpectRegistered(installFolder);
  ExpectSetupRun(installFolder, taskMask);
  ExpectFollowUpStarted(taskMask);
}

void ExpectFollowUpStarted(int taskMask) {
  std::vector<std::string> starts;
  ui::WaitUntil([&] { return !(starts = machine::Lines(Bench().isdelLog)).empty(); }, 10000);
  if (starts.size() != 1) {
    Fail("_ISDEL.EXE was started %zu times, expected once", starts.size());
    if (starts.empty()) return;
  }
  std::vector<std::string> fields = text::Split(starts[0], "\t");
  if (fields.size() != 4) {
    Fail("unreadable _ISDEL.EXE log line %s", Show(starts[0]).c_str());
    return;
  }
  ExpectText(fields[0], ".\\_ISDEL.EXE", "_ISDEL.EXE command line");
  ExpectText(text::Lower(fields[1]), text::Lower(Bench().medium), "_ISDEL.EXE current folder");
  ExpectText(fields[2], std::to_string(SW_SHOW), "_ISDEL.EXE show command");
  ExpectText(fields[3], Format("%02X", taskMask), "Setup.run as _ISDEL.EXE found it at its start");
}

void ExpectNoFollowUp() {
  // Setup would have started it before it ended; give it time to log.
  if (ui::WaitUntil([] { return !machine::Lines(Bench().isdelLog).empty(); }, 1500, 50)) {
    Fail("_ISDEL.EXE was started: %s", Show(machine::Lines(Bench().isdelLog).front()).c_str());
  }
}

bool WaitForMemoryCheck(unsigned timeoutMs) {
  return ui::WaitUntil([] { return machine::Profile("Corvane", "MemCheck").has_value(); }, timeoutMs, 50);
}

void ExpectNothingInstalled() {
  std::vector<InstallCall> calls = InstallCalls();
  if (!calls.empty()) Fail("InitInstall was called %zu times, expected none", calls.size());
  if (machine::Exists(texts::kDefaultFolder)) Fail("the install folder %s was made", texts::kDefaultFolder);
  ExpectNotRegistered();
  ExpectNoFollowUp();
}

std::string ExpectedSummary(const std::string& installFolder) {
  char computer[64] = "";
  DWORD size = 16;
  GetComputerNameA(computer, &size);
  DWORD version = GetVersion();
  std::string text = " 설치 미리보기\r\n\r\n    1. 코르바네™ 설치 폴더\r\n";
  text += "       ＊" + installFolder + "\r\n\r\n";
  text += "    2. 코르바네™ 설치 컴퓨터 정보\r\n";
  text += "       ＊Computer Name : " + std::string(computer) + "\r\n";
  text += Format("       ＊Windows version : %lu.%lu\r\n", version & 0xFF, (version >> 8) & 0xFF);
  text += "       ＊Window Directory : " + machine::WindowsFolder() + "\r\n";
  text += "       ＊System Directory : " + machine::SystemFolder() + "\r\n";
  return text;
}
