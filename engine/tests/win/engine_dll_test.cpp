// The real scan engine, Corvane.dll, bound as setup binds it: findings and
// treatments on real files, probe lifetimes, and repeated loading.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/engine_api.h"
#include "engine/samples.h"
#include "scan/scan_engine.h"
#include "support/files.h"

namespace {

std::string Random(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string ReadBytes(const std::string& path) { return machine::ReadFile(path).value_or("<missing>"); }

// Committed private memory of this process, found by walking its address space.
SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (char* at = NULL; VirtualQuery(at, &info, sizeof info) == sizeof info;
       at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (static_cast<char*>(info.BaseAddress) + info.RegionSize < at) break;
  }
  return total;
}

// Bytes in use in every heap of the process.
SIZE_T HeapBytesInUse() {
  HANDLE heaps[64];
  DWORD count = GetProcessHeaps(64, heaps);
  SIZE_T total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    PROCESS_HEAP_ENTRY entry;
    entry.lpData = NULL;
    if (!HeapLock(heaps[i])) continue;
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return total;
}

// The lowest free thread-local slot: a library that leaked one per load
// would run Windows 95 out of its 64 slots.
DWORD LowestFreeTlsSlot() {
  DWORD slot = TlsAlloc();
  TlsFree(slot);
  return slot;
}

class EngineDll : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = machine::TempFolder() + "engine_dll_test\\";
    machine::DeleteTree(folder_);
    CreateDirectoryA(folder_.c_str(), NULL);
    ASSERT_EQ(LoadScanEngine(), 0) << "Corvane.dll beside the test";
  }
  void TearDown() override { UnloadScanEngine(); }

  std::string Put(const char* name, const std::string& bytes) {
    std::string path = folder_ + name;
    EXPECT_TRUE(machine::WriteFile(path, bytes));
    return path;
  }

  CvProbe Probe(const std::string& path) { return g_engine.probeInto(path.c_str()); }
  short Report(CvProbe probe) { return g_engine.getVirusReport(probe); }
  std::string Name(CvProbe probe) { return g_engine.getVirusName(probe); }
  short Recover(CvProbe probe) { return g_engine.recoverFile(probe); }
  void Close(CvProbe probe) { g_engine.closeProbe(probe); }

  // Probes `path`, expects a finding of that name and report, treats it and
  // closes the probe: the treatment result.
  short Treat(const std::string& path, const char* name, short report) {
    CvProbe probe = Probe(path);
    EXPECT_NE(probe, 0u) << path;
    if (!probe) return 0;
    EXPECT_EQ(Report(probe), report);
    EXPECT_EQ(Name(probe), name);
    short result = Recover(probe);
    Close(probe);
    return result;
  }

  std::string folder_;
};

}  // namespace

TEST_F(EngineDll, ExportsExactlyTheSevenNames) {
  ASSERT_TRUE(g_engine.probeInto && g_engine.recoverFile && g_engine.getVirusReport && g_engine.getVirusName &&
              g_engine.closeProbe && g_engine.turnOn && g_engine.turnOff);
  const BYTE* base = reinterpret_cast<const BYTE*>(g_engine.library);
  const IMAGE_NT_HEADERS* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const IMAGE_EXPORT_DIRECTORY* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const DWORD* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::set<std::string> found;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.insert(reinterpret_cast<const char*>(base + names[i]));
  EXPECT_EQ(found, (std::set<std::string>{"dlCloseProbe", "dlGetVirusName", "dlGetVirusReport", "dlProbeInto",
                                          "dlRecoverFile", "dlTurnOffCorvane", "dlTurnOnCorvane"}));
  EXPECT_EQ(nt->OptionalHeader.MajorSubsystemVersion, 4);
}

TEST_F(EngineDll, CleanMissingAndOwnFilesGiveNoProbe) {
  EXPECT_EQ(Probe(Put("CLEAN.BIN", Random(200000, 1))), 0u);
  EXPECT_EQ(Probe(Put("EMPTY.TXT", "")), 0u);
  EXPECT_EQ(Probe(folder_ + "MISSING.EXE"), 0u);
  EXPECT_EQ(Probe(folder_), 0u);
  // The engine carries its patterns masked: it does not find itself.
  char self[MAX_PATH];
  GetModuleFileNameA(g_engine.library, self, sizeof self);
  EXPECT_EQ(Probe(self), 0u);
  // EICAR inside a larger file is not the test file.
  EXPECT_EQ(Probe(Put("BIGEICAR.TXT", MakeEicarFile(std::string(100, 'x')))), 0u);
}

TEST_F(EngineDll, EicarFoundAndDeletedEvenReadOnly) {
  std::string path = Put("EICAR.COM", MakeEicarFile("\r\n"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Treat(path, "EICAR-Test-File", CV_REPORT_DELETE_ONLY), CV_TREAT_DELETED);
  EXPECT_FALSE(machine::Exists(path));
}

TEST_F(EngineDll, RepairRestoresTheOriginalByteForByte) {
  // Sizes around the 64 KB read piece, so the saved parts straddle reads.
  for (size_t size : {size_t{10}, size_t{65536 - 64}, size_t{3 * 65536 + 5}}) {
    std::string original = Random(size, static_cast<unsigned>(size));
    std::string cloak = Put("CLOAK.EXE", InfectCloak(original));
    std::string mender = Put("MENDER.EXE", InfectMender(original));
    SetFileAttributesA(mender.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Treat(cloak, "CvTest.Cloak", CV_REPORT_REPAIRABLE), CV_TREAT_REPAIRED);
    EXPECT_EQ(Treat(mender, "CvTest.Mender", CV_REPORT_REPAIRABLE), CV_TREAT_REPAIRED);
    EXPECT_EQ(ReadBytes(cloak), original) << size;
    EXPECT_EQ(ReadBytes(mender), original) << size;
    EXPECT_EQ(GetFileAttributesA(mender.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(Probe(cloak), 0u);
    EXPECT_EQ(Probe(mender), 0u);
    // Nothing left over from the temporary copies.
    EXPECT_EQ(machine::Names(folder_), (std::vector<std::string>{"CLOAK.EXE", "MENDER.EXE"}));
    SetFileAttributesA(mender.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(EngineDll, TwoInfectionsOfferedOneAfterTheOther) {
  std::string original = Random(70000, 2);
  std::string path = Put("TWICE.EXE", InfectMender(InfectCloak(original)));
  EXPECT_EQ(Treat(path, "CvTest.Mender", CV_REPORT_REPAIRABLE), CV_TREAT_REPAIRED);
  EXPECT_EQ(Treat(path, "CvTest.Cloak", CV_REPORT_REPAIRABLE), CV_TREAT_REPAIRED);
  EXPECT_EQ(Probe(path), 0u);
  EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(EngineDll, DeleteOnlyAndUntreatableAreDeleted) {
  std::string smear = Put("SMEAR.EXE", InfectSmear(Random(5000, 3)));
  std::string morph = Put("MORPH.EXE", InfectMorph(Random(5000, 4)));
  EXPECT_EQ(Treat(smear, "CvTest.Smear", CV_REPORT_DELETE_ONLY), CV_TREAT_DELETED);
  EXPECT_EQ(Treat(morph, "CvTest.Morph", CV_REPORT_UNTREATABLE), CV_TREAT_DELETED);
  EXPECT_TRUE(machine::Names(folder_).empty());
}

TEST_F(EngineDll, ReportThreeIsLeftAlone) {
  std::string bytes = InfectInert(Random(5000, 5));
  std::string path = Put("INERT.DLL", bytes);
  EXPECT_EQ(Treat(path, "CvTest.Inert", CV_REPORT_IGNORE), CV_TREAT_ENDED);
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(EngineDll, FailedTreatmentLeavesTheFileAsItWas) {
  std::string original = Random(100000, 6);
  // The kept part of the original no longer matches its recorded CRC.
  std::string damaged = InfectCloak(original);
  damaged[50000] ^= 0x20;
  std::string path = Put("DAMAGED.EXE", damaged);
  EXPECT_EQ(Treat(path, "CvTest.Cloak", CV_REPORT_REPAIRABLE), CV_TREAT_ENDED);
  EXPECT_EQ(ReadBytes(path), damaged);
  EXPECT_EQ(machine::Names(folder_), std::vector<std::string>{"DAMAGED.EXE"});

  // Changed between the probe and the answer: neither repaired nor deleted.
  std::string mender = Put("CHANGED.EXE", InfectMender(original));
  std::string smear = Put("CHANGED.COM", InfectSmear(original));
  CvProbe repair = Probe(mender), remove = Probe(smear);
  ASSERT_TRUE(repair && remove);
  machine::WriteFile(mender, InfectMender(original) + "x");
  machine::WriteFile(smear, InfectSmear(original) + "x");
  EXPECT_EQ(Recover(repair), CV_TREAT_ENDED);
  EXPECT_EQ(Recover(remove), CV_TREAT_ENDED);
  EXPECT_EQ(ReadBytes(mender), InfectMender(original) + "x");
  EXPECT_TRUE(machine::Exists(smear));
  Close(repair);
  Close(remove);
}

TEST_F(EngineDll, ProbesStayOpenUntilClosedAndATreatmentIsDoneOnce) {
  std::string original = Random(3000, 7);
  std::string a = Put("A.EXE", InfectCloak(original));
  std::string b = Put("B.EXE", InfectInert(original));
  CvProbe pa = Probe(a);
  std::vector<CvProbe> more;
  for (int i = 0; i < 300; ++i) more.push_back(Probe(b));
  EXPECT_EQ(std::set<CvProbe>(more.begin(), more.end()).size(), 300u);
  EXPECT_EQ(Name(pa), "CvTest.Cloak");
  // The probe holds no file open: the file can be renamed under it.
  EXPECT_TRUE(MoveFileA(b.c_str(), (folder_ + "B2.EXE").c_str()));
  EXPECT_EQ(Recover(pa), CV_TREAT_REPAIRED);
  EXPECT_EQ(Recover(pa), CV_TREAT_ENDED);  // already done
  EXPECT_EQ(ReadBytes(a), original);
  Close(pa);
  EXPECT_EQ(Report(pa), CV_REPORT_IGNORE);
  EXPECT_STREQ(g_engine.getVirusName(pa), "");
  EXPECT_EQ(Recover(pa), CV_TREAT_ENDED);
  Close(pa);  // twice: ignored
  EXPECT_EQ(Name(more.back()), "CvTest.Inert");
}

TEST_F(EngineDll, TurnOnsAreCountedAndTheLastTurnOffFreesEveryProbe) {
  std::string inert = Put("INERT.EXE", InfectInert(Random(3000, 8)));
  std::vector<CvProbe> open;
  open.reserve(2000);
  SIZE_T heapBefore = HeapBytesInUse();
  for (int i = 0; i < 2000; ++i) open.push_back(Probe(inert));
  EXPECT_GT(HeapBytesInUse(), heapBefore + 2000 * 32);

  EXPECT_EQ(g_engine.turnOn(), 1);  // second turn-on
  g_engine.turnOff();               // still on once
  EXPECT_EQ(Name(open[0]), "CvTest.Inert");
  g_engine.turnOff();  // off: every probe freed
  EXPECT_EQ(Probe(inert), 0u);
  g_engine.turnOff();  // once more: nothing happens

  EXPECT_EQ(g_engine.turnOn(), 1);  // on again, as before the probes
  EXPECT_LE(HeapBytesInUse(), heapBefore + 1024) << "heap before " << heapBefore;
  for (CvProbe probe : {open.front(), open.back()}) {
    EXPECT_EQ(Report(probe), CV_REPORT_IGNORE);
    EXPECT_STREQ(g_engine.getVirusName(probe), "");
  }
  CvProbe fresh = Probe(inert);
  EXPECT_NE(fresh, 0u);
  for (CvProbe old : open) ASSERT_NE(old, fresh);
}

TEST_F(EngineDll, TwoHundredLoadsLeaveNothingBehind) {
  std::string clean = Put("CLEAN.EXE", Random(150000, 9));
  std::string eicar = Put("EICAR.COM", MakeEicarFile());
  std::string inert = Put("INERT.EXE", InfectInert(Random(1000, 10)));
  UnloadScanEngine();
  auto cycle = [&] {
    ASSERT_EQ(LoadScanEngine(), 0);
    EXPECT_EQ(Probe(clean), 0u);
    // Probes left open, as the scan leaves them after report code 3.
    EXPECT_NE(Probe(eicar), 0u);
    for (int i = 0; i < 5; ++i) EXPECT_NE(Probe(inert), 0u);
    UnloadScanEngine();
  };
  for (int i = 0; i < 5; ++i) cycle();
  SIZE_T privateBefore = PrivateBytes();
  SIZE_T heapBefore = HeapBytesInUse();
  DWORD handlesBefore = 0, handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
  DWORD tlsBefore = LowestFreeTlsSlot();
  for (int i = 0; i < 200; ++i) cycle();
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  EXPECT_EQ(GetModuleHandleA("Corvane.dll"), HMODULE{NULL});
  EXPECT_EQ(handlesAfter, handlesBefore);
  EXPECT_EQ(LowestFreeTlsSlot(), tlsBefore);
  EXPECT_LE(HeapBytesInUse(), heapBefore + 4096) << "heap before " << heapBefore;
  EXPECT_LE(PrivateBytes(), privateBefore + 64 * 1024) << "private before " << privateBefore;
  ASSERT_EQ(LoadScanEngine(), 0);  // for TearDown
}
