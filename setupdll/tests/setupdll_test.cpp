// The real _SETUP.DLL under Wine: a store made here is put beside a copy of
// the library, and InitInstall is called through GetProcAddress as setup
// calls it. The library's own WININIT.INI module and PutInPlace are linked
// in as well, for what InitInstall cannot reach.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "crc32.h"
#include "initinstall.h"
#include "read_ahead.h"
#include "replace_file.h"
#include "store_writer.h"
#include "support/files.h"
#include "support/settings.h"
#include "target_file.h"
#include "wininit_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadWholeFile(const std::string& path) {
  const std::string bytes = machine::ReadFile(path).value_or("");
  return Bytes(bytes.begin(), bytes.end());
}

void WriteWholeFile(const std::string& path, const Bytes& bytes) {
  ASSERT_TRUE(machine::WriteFile(path, std::string(bytes.begin(), bytes.end()))) << path;
}

Bytes TextBytes(size_t size, const std::string& seed) {
  Bytes out;
  for (size_t i = 0; out.size() < size; ++i) {
    const std::string line = seed + " line " + std::to_string(i) + "\r\n";
    out.insert(out.end(), line.begin(), line.end());
  }
  out.resize(size);
  return out;
}

Bytes RandomBytes(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

// Every entry of a folder: a file left over or a folder made counts.
std::vector<std::string> ListFolder(const std::string& folder) { return machine::Names(folder, "*.*", true); }

std::string WininitPath() { return machine::Join(machine::WindowsFolder(), "WININIT.INI"); }

// Puts WININIT.INI back as it was when it goes: the prefix is shared with
// other tests.
class WininitBackup {
 public:
  WininitBackup() : had_(machine::Exists(WininitPath())), bytes_(ReadWholeFile(WininitPath())) {}
  ~WininitBackup() {
    if (had_) {
      WriteWholeFile(WininitPath(), bytes_);
    } else {
      DeleteFileA(WininitPath().c_str());
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
    root_ = machine::TempFolder() + "cv setupdll " + std::to_string(GetCurrentProcessId());
    medium_ = root_ + "\\medium";
    target_ = root_ + "\\코르바네 target";
    machine::DeleteTree(root_);
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(medium_.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(target_.c_str(), NULL));
    const std::string dll = medium_ + "\\_SETUP.DLL";
    ASSERT_TRUE(CopyFileA((machine::ProgramFolder() + "\\_SETUP.DLL").c_str(), dll.c_str(), FALSE));

    text_ = TextBytes(300000, "Corvane");
    noise_ = RandomBytes(1500000, 1);  // several buffers' worth, stored as it is
    Add("CV32W.EXE", text_, 0x01D0000012345670ull);
    Add("Schedule.EXE", noise_);
    Add("empty.dat", Bytes());
    Add("예약검사.dat", TextBytes(5000, "예약"));
    Add("x", TextBytes(100, "x"));
    WriteStore();

    library_ = LoadLibraryA(dll.c_str());
    ASSERT_NE(nullptr, library_);
    initInstall_ = reinterpret_cast<InitInstallFunction>(
        reinterpret_cast<void*>(GetProcAddress(library_, CORVANE_INITINSTALL_EXPORT)));
    ASSERT_NE(nullptr, initInstall_);
  }

  void TearDown() override {
    if (library_ != NULL) FreeLibrary(library_);
    machine::DeleteTree(root_);
  }

  void Add(const std::string& name, const Bytes& data, uint64_t time = 0) {
    members_.push_back({name, data, time});
  }

  // Writes the store of the members; returns it for tests that damage it.
  Bytes WriteStore(const payload::PackOptions& options = payload::PackOptions()) {
    payload::StoreWriter writer(options);
    for (const Member& m : members_) EXPECT_TRUE(writer.Add(m.name, m.data.data(), m.data.size(), m.time));
    const Bytes store = writer.Finish();
    WriteWholeFile(medium_ + "\\_SETUP.PAK", store);
    return store;
  }

  int Install(const std::string& folder, const std::string& name) {
    return initInstall_(folder.c_str(), name.c_str());
  }

  struct Member {
    std::string name;
    Bytes data;
    uint64_t time;
  };

  std::string root_, medium_, target_;
  Bytes text_, noise_;
  std::vector<Member> members_;
  HMODULE library_ = NULL;
  InitInstallFunction initInstall_ = nullptr;
};

TEST_F(SetupDll, MakesEveryFileByteExactWithNothingElseLeft) {
  EXPECT_EQ(1, Install(target_, "CV32W.EXE"));
  EXPECT_EQ(1, Install(target_ + "\\", "schedule.exe"));  // another letter case, a trailing backslash
  EXPECT_EQ(1, Install(target_, "empty.dat"));
  EXPECT_EQ(1, Install(target_, "예약검사.DAT"));
  EXPECT_EQ(text_, ReadWholeFile(target_ + "\\CV32W.EXE"));
  EXPECT_EQ(noise_, ReadWholeFile(target_ + "\\schedule.exe"));
  EXPECT_TRUE(machine::Exists(target_ + "\\empty.dat"));
  EXPECT_TRUE(ReadWholeFile(target_ + "\\empty.dat").empty());
  EXPECT_EQ(TextBytes(5000, "예약"), ReadWholeFile(target_ + "\\예약검사.DAT"));
  EXPECT_EQ(4u, ListFolder(target_).size());  // no temporary file left over
}

TEST_F(SetupDll, GivesTheFileItsRecordedTime) {
  ASSERT_EQ(1, Install(target_, "CV32W.EXE"));
  HANDLE f = CreateFileA((target_ + "\\CV32W.EXE").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0,
                         NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  FILETIME written;
  ASSERT_TRUE(GetFileTime(f, NULL, NULL, &written));
  CloseHandle(f);
  EXPECT_EQ(0x01D0000012345670ull, (uint64_t(written.dwHighDateTime) << 32) | written.dwLowDateTime);
}

TEST_F(SetupDll, ReplacesAnOldFileReadOnlyOrNot) {
  WriteWholeFile(target_ + "\\CV32W.EXE", TextBytes(999999, "old"));
  // As an earlier copy from a CD leaves it.
  const std::string readOnly = target_ + "\\Schedule.EXE";
  WriteWholeFile(readOnly, TextBytes(50, "old"));
  ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(1, Install(target_, "CV32W.EXE"));
  EXPECT_EQ(1, Install(target_, "Schedule.EXE"));
  EXPECT_EQ(text_, ReadWholeFile(target_ + "\\CV32W.EXE"));
  EXPECT_EQ(noise_, ReadWholeFile(readOnly));
  EXPECT_EQ(0u, GetFileAttributesA(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(2u, ListFolder(target_).size());  // no old copy left beside them
}

TEST_F(SetupDll, ADamagedMemberMakesNoFileAndLeavesTheOldOne) {
  Bytes store = WriteStore();
  // The member before "x" first: on several processors "x" is then unpacked
  // ahead from the whole store, and that copy must not outlive the damage.
  ASSERT_EQ(1, Install(target_, "예약검사.dat"));
  ASSERT_TRUE(DeleteFileA((target_ + "\\예약검사.dat").c_str()));
  // The last bytes of the store belong to the last member, "x".
  store[store.size() - 10] ^= 0x55;
  WriteWholeFile(medium_ + "\\_SETUP.PAK", store);
  EXPECT_EQ(0, Install(target_, "x"));
  EXPECT_FALSE(machine::Exists(target_ + "\\x"));
  const Bytes old = TextBytes(50, "old");
  WriteWholeFile(target_ + "\\x", old);
  EXPECT_EQ(0, Install(target_, "x"));
  EXPECT_EQ(old, ReadWholeFile(target_ + "\\x"));
  EXPECT_EQ(1u, ListFolder(target_).size());
}

// Members of a megabyte and more sharing frames of a few: on several
// processors a second thread unpacks ahead while each call writes. Every
// order gives the same bytes, damage to one frame fails only the members
// that lie past it, and a member whose bytes come out wrong from a frame
// that unpacks is failed alone.
TEST_F(SetupDll, MembersOfSharedFramesComeOutInAnyOrder) {
  members_.clear();
  for (int i = 0; i < 9; ++i) Add("m" + std::to_string(i), TextBytes(900000 + 300000 * (i % 4), std::to_string(i)));
  // Random bytes go into their frame as they are.
  members_[4].data = RandomBytes(400000, 4);
  payload::PackOptions options;
  options.level = 1;
  options.frameSize = 3 * 1024 * 1024;
  const Bytes store = WriteStore(options);
  const std::string other = target_ + "\\other";
  ASSERT_TRUE(CreateDirectoryA(other.c_str(), NULL));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(1, Install(target_, "m" + std::to_string(i))) << i;
  for (int i : {8, 2, 3, 7, 0, 5, 4, 6, 1, 1}) EXPECT_EQ(1, Install(other, "m" + std::to_string(i))) << i;
  for (const Member& m : members_) {
    EXPECT_EQ(m.data, ReadWholeFile(target_ + "\\" + m.name)) << m.name;
    EXPECT_EQ(m.data, ReadWholeFile(other + "\\" + m.name)) << m.name;
  }

  // A byte in the middle of the store: the frame that holds it.
  Bytes damaged = store;
  damaged[damaged.size() / 2] ^= 0x55;
  WriteWholeFile(medium_ + "\\_SETUP.PAK", damaged);
  machine::DeleteTree(other);
  ASSERT_TRUE(CreateDirectoryA(other.c_str(), NULL));
  int failed = 0;
  for (const Member& m : members_) {
    if (Install(other, m.name) == 1) {
      EXPECT_EQ(m.data, ReadWholeFile(other + "\\" + m.name)) << m.name;
    } else {
      ++failed;
      EXPECT_FALSE(machine::Exists(other + "\\" + m.name)) << m.name;
    }
  }
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, 9);

  damaged = store;
  const Bytes& noise = members_[4].data;
  const auto at = std::search(damaged.begin(), damaged.end(), noise.begin() + 200000, noise.begin() + 200064);
  ASSERT_NE(damaged.end(), at);
  *at ^= 0x55;
  WriteWholeFile(medium_ + "\\_SETUP.PAK", damaged);
  machine::DeleteTree(other);
  ASSERT_TRUE(CreateDirectoryA(other.c_str(), NULL));
  for (const Member& m : members_) {
    const bool wrong = &m == &members_[4];
    EXPECT_EQ(wrong ? 0 : 1, Install(other, m.name)) << m.name;
    EXPECT_EQ(!wrong, machine::Exists(other + "\\" + m.name)) << m.name;
  }
}

TEST_F(SetupDll, ATruncatedStoreGivesNoFileAtAll) {
  const Bytes store = WriteStore();
  WriteWholeFile(medium_ + "\\_SETUP.PAK", Bytes(store.begin(), store.end() - 1));
  const Bytes old = TextBytes(50, "old");
  WriteWholeFile(target_ + "\\CV32W.EXE", old);
  EXPECT_EQ(0, Install(target_, "CV32W.EXE"));  // the first member is whole, the store is not
  EXPECT_EQ(0, Install(target_, "x"));
  EXPECT_EQ(old, ReadWholeFile(target_ + "\\CV32W.EXE"));
  EXPECT_EQ(1u, ListFolder(target_).size());
}

// A whole, sealed store of the deflate format that came before is refused
// as it stands, not read.
TEST_F(SetupDll, AStoreOfAnotherVersionGivesNoFile) {
  Bytes store = WriteStore();
  store[4] = 1;
  const uint32_t sealed = payload::Crc32(0, store.data(), 28);
  for (int i = 0; i < 4; ++i) store[28 + i] = static_cast<uint8_t>(sealed >> (8 * i));
  WriteWholeFile(medium_ + "\\_SETUP.PAK", store);
  EXPECT_EQ(0, Install(target_, "x"));
  EXPECT_TRUE(ListFolder(target_).empty());
}

TEST_F(SetupDll, AMissingStoreGivesNoFile) {
  ASSERT_TRUE(DeleteFileA((medium_ + "\\_SETUP.PAK").c_str()));
  EXPECT_EQ(0, Install(target_, "CV32W.EXE"));
  EXPECT_TRUE(ListFolder(target_).empty());
}

TEST_F(SetupDll, AnUnknownNameGivesNoFile) {
  EXPECT_EQ(0, Install(target_, "CV32W.EX"));
  EXPECT_EQ(0, Install(target_, "Unsetup.exe"));
  EXPECT_TRUE(ListFolder(target_).empty());
}

TEST_F(SetupDll, NamesThatWouldLeaveTheFolderAreRefused) {
  const std::string sub = target_ + "\\sub";
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), NULL));
  ASSERT_TRUE(SetCurrentDirectoryA(sub.c_str()));
  for (const char* name : {"..", "..\\x", "C:x", "\\x", "/x", "sub\\x", "x/", ".\\x", "", "x."}) {
    EXPECT_EQ(0, Install(sub, name)) << name;
  }
  EXPECT_EQ(0, initInstall_(sub.c_str(), nullptr));
  EXPECT_EQ(0, initInstall_(nullptr, "x"));
  SetCurrentDirectoryA(machine::ProgramFolder().c_str());  // a current folder cannot be removed
  EXPECT_FALSE(machine::Exists(target_ + "\\x"));
  EXPECT_FALSE(machine::Exists("C:\\x"));
  EXPECT_TRUE(ListFolder(sub).empty());
  EXPECT_EQ(1u, ListFolder(target_).size());
}

TEST_F(SetupDll, AMissingFolderOrAFolderInTheWayGivesNoFile) {
  EXPECT_EQ(0, Install(target_ + "\\missing", "x"));
  ASSERT_TRUE(CreateDirectoryA((target_ + "\\x").c_str(), NULL));
  EXPECT_EQ(0, Install(target_, "x"));
  EXPECT_EQ(1u, ListFolder(target_).size());
}

// PutInPlace as the library runs it, with the new file held open while it
// is moved in, as a virus scanner that opens every new file would: the move
// fails after the old file has been set aside, which must then come back.
TEST_F(SetupDll, WhenTheNewFileCannotMoveInTheOldOneComesBack) {
  const std::string path = target_ + "\\CV32W.EXE";
  const Bytes old = TextBytes(50, "old");
  WriteWholeFile(path, old);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  char temp[MAX_PATH];
  HANDLE fresh = CreateTempFile(target_.c_str(), temp);
  ASSERT_NE(INVALID_HANDLE_VALUE, fresh);
  EXPECT_FALSE(PutInPlace(temp, path.c_str()));
  CloseHandle(fresh);
  EXPECT_EQ(old, ReadWholeFile(path));
  EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFileA(temp));  // still open when the library tried
  EXPECT_EQ(1u, ListFolder(target_).size());
}

// Windows 9x renames no file that a process has open or loaded. Wine, like
// the NT family, renames a loaded program, so the test holds the file open.
TEST_F(SetupDll, AFileInUseIsReplacedWhenWindowsNextStarts) {
  ASSERT_NE(0u, GetVersion() & 0x80000000) << "the test prefix should report Windows 98";
  const std::string inUse = target_ + "\\inuse.dll";
  const Bytes old = TextBytes(3000, "old");
  WriteWholeFile(inUse, old);
  const Bytes fresh = RandomBytes(70000, 9);
  Add("INUSE.DLL", fresh);
  WriteStore();
  const WininitBackup backup;
  // Other programs' lines, which the profile functions would merge.
  const std::string others =
      "[Rename]\r\nNUL=C:\\WINDOWS\\TEMP\\~A.TMP\r\nNUL=C:\\WINDOWS\\TEMP\\~B.TMP\r\n\r\n[other]\r\nx=1";
  WriteWholeFile(WininitPath(), Bytes(others.begin(), others.end()));
  HANDLE held = CreateFileA(inUse.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);

  // A WININIT.INI that cannot be read is left alone, and the install fails.
  HANDLE locked = CreateFileA(WininitPath().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  EXPECT_EQ(0, Install(target_, "inuse.dll"));
  CloseHandle(locked);
  EXPECT_EQ(1u, ListFolder(target_).size());

  EXPECT_EQ(1, Install(target_, "inuse.dll"));
  CloseHandle(held);
  EXPECT_EQ(old, ReadWholeFile(inUse));
  // The line names a complete copy of the new file in the same folder, and
  // withdrawing it, as setup's rollback does, gives back the file as it was.
  char source[MAX_PATH] = "";
  ASSERT_EQ(wininit::Withdrawal::Withdrawn,
            wininit::WithdrawRename(machine::ShortPath(inUse).c_str(), source, sizeof source));
  EXPECT_EQ(Bytes(others.begin(), others.end()), ReadWholeFile(WininitPath()));
  EXPECT_EQ(machine::ShortPath(target_), machine::FolderOf(source));
  EXPECT_EQ(fresh, ReadWholeFile(source));
  EXPECT_EQ(2u, ListFolder(target_).size());
  EXPECT_EQ(wininit::Withdrawal::NoneScheduled,
            wininit::WithdrawRename(machine::ShortPath(inUse).c_str(), source, sizeof source));
}

TEST_F(SetupDll, ExportsOnlyTheUndecoratedName) {
  EXPECT_EQ(nullptr, GetProcAddress(library_, "InitInstall@8"));
  EXPECT_EQ(nullptr, GetProcAddress(library_, "_InitInstall@8"));
}

// Run by run-in-private-prefix.sh with a Wine drive of a few hundred
// kilobytes named in CORVANE_TINY_DRIVE.
TEST_F(SetupDll, AFullDiskGivesNoFileAndLeavesTheOldOne) {
  const std::string drive = machine::Environment("CORVANE_TINY_DRIVE");
  if (drive.empty()) GTEST_SKIP() << "no tiny drive (run by setupdll_full_disk)";
  const std::string folder = drive + "\\full";
  machine::DeleteTree(folder);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
  const Bytes old = TextBytes(20000, "old");
  WriteWholeFile(folder + "\\Schedule.EXE", old);
  EXPECT_EQ(0, Install(folder, "Schedule.EXE"));  // 1.5 MB that does not compress
  EXPECT_EQ(old, ReadWholeFile(folder + "\\Schedule.EXE"));
  EXPECT_EQ(1u, ListFolder(folder).size());
  // Nor as a new file, which is written under its own name: nothing is left.
  ASSERT_TRUE(DeleteFileA((folder + "\\Schedule.EXE").c_str()));
  EXPECT_EQ(0, Install(folder, "Schedule.EXE"));
  EXPECT_TRUE(ListFolder(folder).empty());
  EXPECT_EQ(1, Install(folder, "x"));  // a small file still fits
  machine::DeleteTree(folder);
}

// Run by run-in-private-prefix.sh in a prefix that reports Windows XP. The NT
// family renames a loaded program but does not delete it: the new one goes in
// now and the old one, set aside, is deleted at the next start. A file held
// open is replaced at the next start.
TEST_F(SetupDll, OnNtAFileInUseIsLeftToMoveFileEx) {
  if (GetVersion() & 0x80000000) GTEST_SKIP() << "Windows 9x (run by setupdll_nt_in_use)";
  const std::string loadedPath = target_ + "\\inuse.dll";
  ASSERT_TRUE(CopyFileA((medium_ + "\\_SETUP.DLL").c_str(), loadedPath.c_str(), FALSE));
  HMODULE loaded = LoadLibraryA(loadedPath.c_str());
  ASSERT_NE(nullptr, loaded);
  const std::string heldPath = target_ + "\\held.dat";
  WriteWholeFile(heldPath, TextBytes(100, "old"));
  HANDLE held = CreateFileA(heldPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  Add("inuse.dll", RandomBytes(1000, 3));
  Add("held.dat", TextBytes(200, "new"));
  WriteStore();
  EXPECT_EQ(1, Install(target_, "inuse.dll"));
  EXPECT_EQ(1, Install(target_, "held.dat"));
  CloseHandle(held);
  FreeLibrary(loaded);
  EXPECT_EQ(RandomBytes(1000, 3), ReadWholeFile(loadedPath));
  EXPECT_EQ(TextBytes(100, "old"), ReadWholeFile(heldPath));

  std::optional<machine::RegistryValue> renames = machine::ReadRegistryValue(
      HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
  ASSERT_TRUE(renames);
  // Pairs of NUL-terminated "\??\source" and "!\??\target" strings: the old
  // program set aside, the new held.dat waiting, and held.dat itself.
  const std::string& all = renames->bytes;
  EXPECT_NE(std::string::npos, all.find("held.dat"));
  std::vector<std::string> waiting;
  for (const std::string& name : ListFolder(target_)) {
    if (name != "inuse.dll" && name != "held.dat") waiting.push_back(name);
  }
  EXPECT_EQ(2u, waiting.size());
  for (const std::string& name : waiting) EXPECT_NE(std::string::npos, all.find(name)) << name;
  char source[MAX_PATH];
  EXPECT_FALSE(wininit::FindRename(machine::ShortPath(heldPath).c_str(), source, sizeof source));
}

// From a slow medium (a CD) every piece after the first is read ahead on a
// thread of its own, and every byte comes out (every other test reads from a
// fast one).
TEST(ReadAheadTest, ReadsAheadOnAThreadFromASlowMedium) {
  const uint32_t piece = 256 * 1024;
  const Bytes store = RandomBytes(5 * piece + 1234, 9);
  struct SlowMedium : payload::Source {
    const Bytes* bytes = nullptr;
    const DWORD caller = GetCurrentThreadId();
    int others = 0;  // reads on another thread than the caller's
    bool Read(uint32_t offset, void* buffer, uint32_t length) override {
      others += GetCurrentThreadId() != caller;
      Sleep(20);
      CopyMemory(buffer, bytes->data() + offset, length);
      return true;
    }
  } medium;
  medium.bytes = &store;
  Bytes spare(piece), out(store.size());
  {
    ReadAhead ahead(medium, spare.data(), piece);
    for (uint32_t at = 0, size = static_cast<uint32_t>(out.size()); at < size; at += piece) {
      ASSERT_TRUE(ahead.Read(at, &out[at], std::min(piece, size - at)));
      if (at + piece < size) ahead.Expect(at + piece, std::min(piece, size - at - piece));
    }
  }
  EXPECT_EQ(store, out);
  EXPECT_EQ(5, medium.others);
}

}  // namespace
