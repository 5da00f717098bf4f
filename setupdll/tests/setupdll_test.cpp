// The real _SETUP.DLL under Wine: a store made here is put beside a copy of
// the library, and InitInstall is called through GetProcAddress as setup
// calls it. The library's own WININIT.INI module and put_in_place are linked
// in as well, for what InitInstall cannot reach.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "initinstall.h"
#include "replace_file.h"
#include "store_writer.h"
#include "support/files.h"
#include "support/settings.h"
#include "target_file.h"
#include "wininit_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes read_file(const std::string& path) {
  const std::string bytes = machine::ReadFile(path).value_or("");
  return Bytes(bytes.begin(), bytes.end());
}

void write_file(const std::string& path, const Bytes& bytes) {
  ASSERT_TRUE(machine::WriteFile(path, std::string(bytes.begin(), bytes.end()))) << path;
}

Bytes text_bytes(size_t size, const std::string& seed) {
  Bytes out;
  for (size_t i = 0; out.size() < size; ++i) {
    const std::string line = seed + " line " + std::to_string(i) + "\r\n";
    out.insert(out.end(), line.begin(), line.end());
  }
  out.resize(size);
  return out;
}

Bytes random_bytes(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

// Every entry of a folder: a file left over or a folder made counts.
std::vector<std::string> list_folder(const std::string& folder) { return machine::Names(folder, "*.*", true); }

std::string wininit_path() { return machine::Join(machine::WindowsFolder(), "WININIT.INI"); }

// Puts WININIT.INI back as it was when it goes: the prefix is shared with
// other tests.
class WininitBackup {
 public:
  WininitBackup() : had_(machine::Exists(wininit_path())), bytes_(read_file(wininit_path())) {}
  ~WininitBackup() {
    if (had_) {
      write_file(wininit_path(), bytes_);
    } else {
      DeleteFileA(wininit_path().c_str());
    }
  }

 private:
  bool had_;
  Bytes bytes_;
};

// A medium folder with a copy of the library and a store, a target folder,
// and InitInstall resolved from that copy.
class SetupDll : public ::testing::Test {
 protected:
  void SetUp() override {
    root = machine::TempFolder() + "cv setupdll " + std::to_string(GetCurrentProcessId());
    medium = root + "\\medium";
    target = root + "\\코르바네 target";
    machine::DeleteTree(root);
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(medium.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), NULL));
    const std::string dll = medium + "\\_SETUP.DLL";
    ASSERT_TRUE(CopyFileA((machine::ProgramFolder() + "\\_SETUP.DLL").c_str(), dll.c_str(), FALSE));

    text = text_bytes(300000, "Corvane");
    noise = random_bytes(1500000, 1);  // several buffers' worth, stored as it is
    add("CV32W.EXE", text, 0x01D0000012345670ull);
    add("Schedule.EXE", noise);
    add("empty.dat", Bytes());
    add("예약검사.dat", text_bytes(5000, "예약"));
    add("x", text_bytes(100, "x"));
    write_store();

    library = LoadLibraryA(dll.c_str());
    ASSERT_NE(nullptr, library);
    init_install = reinterpret_cast<InitInstallFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, CORVANE_INITINSTALL_EXPORT)));
    ASSERT_NE(nullptr, init_install);
  }

  void TearDown() override {
    if (library != NULL) FreeLibrary(library);
    machine::DeleteTree(root);
  }

  void add(const std::string& name, const Bytes& data, uint64_t time = 0) {
    members.push_back({name, data, time});
  }

  // Writes the store of the members; returns it for tests that damage it.
  Bytes write_store() {
    payload::StoreWriter writer;
    for (const Member& m : members) EXPECT_TRUE(writer.Add(m.name, m.data.data(), m.data.size(), m.time));
    const Bytes store = writer.Finish();
    write_file(medium + "\\_SETUP.PAK", store);
    return store;
  }

  int install(const std::string& folder, const std::string& name) {
    return init_install(folder.c_str(), name.c_str());
  }

  struct Member {
    std::string name;
    Bytes data;
    uint64_t time;
  };

  std::string root, medium, target;
  Bytes text, noise;
  std::vector<Member> members;
  HMODULE library = NULL;
  InitInstallFunction init_install = nullptr;
};

TEST_F(SetupDll, MakesEveryFileByteExactWithNothingElseLeft) {
  EXPECT_EQ(1, install(target, "CV32W.EXE"));
  EXPECT_EQ(1, install(target + "\\", "schedule.exe"));  // another letter case, a trailing backslash
  EXPECT_EQ(1, install(target, "empty.dat"));
  EXPECT_EQ(1, install(target, "예약검사.DAT"));
  EXPECT_EQ(text, read_file(target + "\\CV32W.EXE"));
  EXPECT_EQ(noise, read_file(target + "\\schedule.exe"));
  EXPECT_TRUE(machine::Exists(target + "\\empty.dat"));
  EXPECT_TRUE(read_file(target + "\\empty.dat").empty());
  EXPECT_EQ(text_bytes(5000, "예약"), read_file(target + "\\예약검사.DAT"));
  EXPECT_EQ(4u, list_folder(target).size());  // no temporary file left over
}

TEST_F(SetupDll, GivesTheFileItsRecordedTime) {
  ASSERT_EQ(1, install(target, "CV32W.EXE"));
  HANDLE f = CreateFileA((target + "\\CV32W.EXE").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0,
                         NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  FILETIME written;
  ASSERT_TRUE(GetFileTime(f, NULL, NULL, &written));
  CloseHandle(f);
  EXPECT_EQ(0x01D0000012345670ull, (uint64_t(written.dwHighDateTime) << 32) | written.dwLowDateTime);
}

TEST_F(SetupDll, ReplacesAnOldFileReadOnlyOrNot) {
  write_file(target + "\\CV32W.EXE", text_bytes(999999, "old"));
  // As an earlier copy from a CD leaves it.
  const std::string read_only = target + "\\Schedule.EXE";
  write_file(read_only, text_bytes(50, "old"));
  ASSERT_TRUE(SetFileAttributesA(read_only.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(1, install(target, "CV32W.EXE"));
  EXPECT_EQ(1, install(target, "Schedule.EXE"));
  EXPECT_EQ(text, read_file(target + "\\CV32W.EXE"));
  EXPECT_EQ(noise, read_file(read_only));
  EXPECT_EQ(0u, GetFileAttributesA(read_only.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(2u, list_folder(target).size());  // no old copy left beside them
}

TEST_F(SetupDll, ADamagedMemberMakesNoFileAndLeavesTheOldOne) {
  Bytes store = write_store();
  // The last bytes of the store belong to the last member, "x".
  store[store.size() - 10] ^= 0x55;
  write_file(medium + "\\_SETUP.PAK", store);
  EXPECT_EQ(0, install(target, "x"));
  EXPECT_FALSE(machine::Exists(target + "\\x"));
  const Bytes old = text_bytes(50, "old");
  write_file(target + "\\x", old);
  EXPECT_EQ(0, install(target, "x"));
  EXPECT_EQ(old, read_file(target + "\\x"));
  EXPECT_EQ(1u, list_folder(target).size());
}

TEST_F(SetupDll, ATruncatedStoreGivesNoFileAtAll) {
  const Bytes store = write_store();
  write_file(medium + "\\_SETUP.PAK", Bytes(store.begin(), store.end() - 1));
  const Bytes old = text_bytes(50, "old");
  write_file(target + "\\CV32W.EXE", old);
  EXPECT_EQ(0, install(target, "CV32W.EXE"));  // the first member is whole, the store is not
  EXPECT_EQ(0, install(target, "x"));
  EXPECT_EQ(old, read_file(target + "\\CV32W.EXE"));
  EXPECT_EQ(1u, list_folder(target).size());
}

TEST_F(SetupDll, AMissingStoreGivesNoFile) {
  ASSERT_TRUE(DeleteFileA((medium + "\\_SETUP.PAK").c_str()));
  EXPECT_EQ(0, install(target, "CV32W.EXE"));
  EXPECT_TRUE(list_folder(target).empty());
}

TEST_F(SetupDll, AnUnknownNameGivesNoFile) {
  EXPECT_EQ(0, install(target, "CV32W.EX"));
  EXPECT_EQ(0, install(target, "Unsetup.exe"));
  EXPECT_TRUE(list_folder(target).empty());
}

TEST_F(SetupDll, NamesThatWouldLeaveTheFolderAreRefused) {
  const std::string sub = target + "\\sub";
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), NULL));
  ASSERT_TRUE(SetCurrentDirectoryA(sub.c_str()));
  for (const char* name : {"..", "..\\x", "C:x", "\\x", "/x", "sub\\x", "x/", ".\\x", "", "x."}) {
    EXPECT_EQ(0, install(sub, name)) << name;
  }
  EXPECT_EQ(0, init_install(sub.c_str(), nullptr));
  EXPECT_EQ(0, init_install(nullptr, "x"));
  SetCurrentDirectoryA(machine::ProgramFolder().c_str());  // a current folder cannot be removed
  EXPECT_FALSE(machine::Exists(target + "\\x"));
  EXPECT_FALSE(machine::Exists("C:\\x"));
  EXPECT_TRUE(list_folder(sub).empty());
  EXPECT_EQ(1u, list_folder(target).size());
}

TEST_F(SetupDll, AMissingFolderOrAFolderInTheWayGivesNoFile) {
  EXPECT_EQ(0, install(target + "\\missing", "x"));
  ASSERT_TRUE(CreateDirectoryA((target + "\\x").c_str(), NULL));
  EXPECT_EQ(0, install(target, "x"));
  EXPECT_EQ(1u, list_folder(target).size());
}

// put_in_place as the library runs it, with the new file held open while it
// is moved in, as a virus scanner that opens every new file would: the move
// fails after the old file has been set aside, which must then come back.
TEST_F(SetupDll, WhenTheNewFileCannotMoveInTheOldOneComesBack) {
  const std::string path = target + "\\CV32W.EXE";
  const Bytes old = text_bytes(50, "old");
  write_file(path, old);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  char temp[MAX_PATH];
  HANDLE fresh = create_temp_file(target.c_str(), temp);
  ASSERT_NE(INVALID_HANDLE_VALUE, fresh);
  EXPECT_FALSE(put_in_place(temp, path.c_str()));
  CloseHandle(fresh);
  EXPECT_EQ(old, read_file(path));
  EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFileA(temp));  // still open when the library tried
  EXPECT_EQ(1u, list_folder(target).size());
}

// Windows 9x renames no file that a process has open or loaded. Wine, like
// the NT family, renames a loaded program, so the test holds the file open.
TEST_F(SetupDll, AFileInUseIsReplacedWhenWindowsNextStarts) {
  ASSERT_NE(0u, GetVersion() & 0x80000000) << "the test prefix should report Windows 98";
  const std::string in_use = target + "\\inuse.dll";
  const Bytes old = text_bytes(3000, "old");
  write_file(in_use, old);
  const Bytes fresh = random_bytes(70000, 9);
  add("INUSE.DLL", fresh);
  write_store();
  const WininitBackup backup;
  // Other programs' lines, which the profile functions would merge.
  const std::string others =
      "[Rename]\r\nNUL=C:\\WINDOWS\\TEMP\\~A.TMP\r\nNUL=C:\\WINDOWS\\TEMP\\~B.TMP\r\n\r\n[other]\r\nx=1";
  write_file(wininit_path(), Bytes(others.begin(), others.end()));
  HANDLE held = CreateFileA(in_use.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);

  // A WININIT.INI that cannot be read is left alone, and the install fails.
  HANDLE locked = CreateFileA(wininit_path().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  EXPECT_EQ(0, install(target, "inuse.dll"));
  CloseHandle(locked);
  EXPECT_EQ(1u, list_folder(target).size());

  EXPECT_EQ(1, install(target, "inuse.dll"));
  CloseHandle(held);
  EXPECT_EQ(old, read_file(in_use));
  // The line names a complete copy of the new file in the same folder, and
  // withdrawing it, as setup's rollback does, gives back the file as it was.
  char source[MAX_PATH] = "";
  ASSERT_EQ(wininit::Withdrawal::kWithdrawn,
            wininit::withdraw_rename(machine::ShortPath(in_use).c_str(), source, sizeof source));
  EXPECT_EQ(Bytes(others.begin(), others.end()), read_file(wininit_path()));
  EXPECT_EQ(machine::ShortPath(target), machine::FolderOf(source));
  EXPECT_EQ(fresh, read_file(source));
  EXPECT_EQ(2u, list_folder(target).size());
  EXPECT_EQ(wininit::Withdrawal::kNoneScheduled,
            wininit::withdraw_rename(machine::ShortPath(in_use).c_str(), source, sizeof source));
}

TEST_F(SetupDll, ExportsOnlyTheUndecoratedName) {
  EXPECT_EQ(nullptr, GetProcAddress(library, "InitInstall@8"));
  EXPECT_EQ(nullptr, GetProcAddress(library, "_InitInstall@8"));
}

// Run by run-in-private-prefix.sh with a Wine drive of a few hundred
// kilobytes named in CORVANE_TINY_DRIVE.
TEST_F(SetupDll, AFullDiskGivesNoFileAndLeavesTheOldOne) {
  const std::string drive = machine::Environment("CORVANE_TINY_DRIVE");
  if (drive.empty()) GTEST_SKIP() << "no tiny drive (run by setupdll_full_disk)";
  const std::string folder = drive + "\\full";
  machine::DeleteTree(folder);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
  const Bytes old = text_bytes(20000, "old");
  write_file(folder + "\\Schedule.EXE", old);
  EXPECT_EQ(0, install(folder, "Schedule.EXE"));  // 1.5 MB that does not compress
  EXPECT_EQ(old, read_file(folder + "\\Schedule.EXE"));
  EXPECT_EQ(1u, list_folder(folder).size());
  EXPECT_EQ(1, install(folder, "x"));  // a small file still fits
  machine::DeleteTree(folder);
}

// Run by run-in-private-prefix.sh in a prefix that reports Windows XP. The NT
// family renames a loaded program but does not delete it: the new one goes in
// now and the old one, set aside, is deleted at the next start. A file held
// open is replaced at the next start.
TEST_F(SetupDll, OnNtAFileInUseIsLeftToMoveFileEx) {
  if (GetVersion() & 0x80000000) GTEST_SKIP() << "Windows 9x (run by setupdll_nt_in_use)";
  const std::string loaded_path = target + "\\inuse.dll";
  ASSERT_TRUE(CopyFileA((medium + "\\_SETUP.DLL").c_str(), loaded_path.c_str(), FALSE));
  HMODULE loaded = LoadLibraryA(loaded_path.c_str());
  ASSERT_NE(nullptr, loaded);
  const std::string held_path = target + "\\held.dat";
  write_file(held_path, text_bytes(100, "old"));
  HANDLE held = CreateFileA(held_path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  add("inuse.dll", random_bytes(1000, 3));
  add("held.dat", text_bytes(200, "new"));
  write_store();
  EXPECT_EQ(1, install(target, "inuse.dll"));
  EXPECT_EQ(1, install(target, "held.dat"));
  CloseHandle(held);
  FreeLibrary(loaded);
  EXPECT_EQ(random_bytes(1000, 3), read_file(loaded_path));
  EXPECT_EQ(text_bytes(100, "old"), read_file(held_path));

  std::optional<machine::RegistryValue> renames = machine::ReadRegistryValue(
      HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
  ASSERT_TRUE(renames);
  // Pairs of NUL-terminated "\??\source" and "!\??\target" strings: the old
  // program set aside, the new held.dat waiting, and held.dat itself.
  const std::string& all = renames->bytes;
  EXPECT_NE(std::string::npos, all.find("held.dat"));
  std::vector<std::string> waiting;
  for (const std::string& name : list_folder(target)) {
    if (name != "inuse.dll" && name != "held.dat") waiting.push_back(name);
  }
  EXPECT_EQ(2u, waiting.size());
  for (const std::string& name : waiting) EXPECT_NE(std::string::npos, all.find(name)) << name;
  char source[MAX_PATH];
  EXPECT_FALSE(wininit::find_rename(machine::ShortPath(held_path).c_str(), source, sizeof source));
}

}  // namespace
