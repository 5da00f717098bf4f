// _SETUP.DLL: the installer support library. Its one export makes a product
// file in a folder from the payload store that lies beside the library.
#include "initinstall.h"

#include "common/disk_ops.h"

#include "frame_ahead.h"
#include "names.h"
#include "replace_file.h"
#include "store_file.h"
#include "store_format.h"
#include "target_file.h"

namespace {

// Large enough that a 100 MB product needs few calls into the system, small
// enough for a 16 MB Windows 95 machine.
const DWORD kInBufferSize = 256 * 1024;
const DWORD kOutBufferSize = 512 * 1024;

HMODULE g_module;

// Made at the first call and kept while the library is loaded: setup
// installs file after file, and allocating (and touching) fresh buffers of
// this size costs more than a small file's whole unpacking.
payload::Buffers g_buffers;
// The packed bytes read ahead while the decoder works (read_ahead.h).
uint8_t* g_spare;

// Kept between calls with its place in the frame: setup asks for the
// members in the store's order, and the next one mostly goes on where the
// last one ended.
payload::Unpacker g_unpacker;

FrameAhead g_frameAhead;

bool HaveBuffers() {
  if (g_buffers.in == NULL) {
    g_buffers.in = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, kInBufferSize));
    g_buffers.inSize = kInBufferSize;
  }
  if (g_buffers.out == NULL) {
    g_buffers.out = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, kOutBufferSize));
    g_buffers.outSize = kOutBufferSize;
  }
  if (g_spare == NULL) g_spare = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, kInBufferSize));
  return g_buffers.in != NULL && g_buffers.out != NULL;
}

void ReleaseBuffers() {
  if (g_buffers.in != NULL) (void)HeapFree(GetProcessHeap(), 0, g_buffers.in);
  if (g_buffers.out != NULL) (void)HeapFree(GetProcessHeap(), 0, g_buffers.out);
  if (g_spare != NULL) (void)HeapFree(GetProcessHeap(), 0, g_spare);
  g_buffers.in = NULL;
  g_buffers.out = NULL;
  g_spare = NULL;
}

// Writes member into the new file, from ready (its bytes unpacked ahead,
// checked here) or else from the store, gives it the member's time when
// `timed`, and closes it; on failure the file is deleted.
bool WriteAndClose(StoreFile& store, const payload::Member& member, const uint8_t* ready, HANDLE file,
                   const char* path, bool timed) {
  const bool made = ready != NULL ? StoreFile::WriteUnpacked(member, ready, file)
                                  : store.ExtractTo(member, file, g_unpacker, g_buffers, g_spare);
  if (made && timed) StoreFile::GiveRecordedTime(member, file);
  // A close can report a write that failed late (a full disk, a network drive).
  const bool closed = CloseHandle(file) != FALSE;
  if (made && closed) return true;
  (void)ops::Delete(path);
  return false;
}

// The member's time goes to a file already complete under its name.
void GiveRecordedTime(const payload::Member& member, const char* path) {
  HANDLE file = ops::OpenForWriting(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return;
  StoreFile::GiveRecordedTime(member, file);
  (void)CloseHandle(file);
}

// A file that is not there yet is written under its own name: there is no
// old file to keep whole, so neither a temporary file nor a rename.  Any
// other file is made beside it and then put in its place, or left to take
// its place when Windows next starts; only then does it get the member's
// time, so that a temporary file left by a stop always has the time it was
// made at, which is how a rollback knows it for this run's. A folder under
// target's name is left alone.
bool MakeTarget(StoreFile& store, const payload::Member& member, const uint8_t* ready, const char* folder,
                const char* target) {
  // Tried first, as most files are new: asking whether a name is there
  // costs about as much as making the file.
  HANDLE file =
      ops::OpenForWriting(target, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
  if (file != INVALID_HANDLE_VALUE) return WriteAndClose(store, member, ready, file, target, true);
  if (!TargetMayBeReplaced(GetFileAttributesA(target))) return false;
  char temp[MAX_PATH];
  file = CreateTempFile(folder, temp);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (!WriteAndClose(store, member, ready, file, temp, false) || !PutInPlace(temp, target)) return false;
  GiveRecordedTime(member, GetFileAttributesA(temp) != 0xFFFFFFFF ? temp : target);
  return true;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  // At process exit (reserved set) the heap goes with the process.
  if (reason == DLL_PROCESS_DETACH && reserved == NULL) {
    ReleaseBuffers();
    g_unpacker.Release();
    g_frameAhead.Release();
  }
  return TRUE;
}

extern "C" int WINAPI InitInstall(const char* folder, const char* name) {
  if (folder == NULL || name == NULL || !payload::IsPlainFileName(name)) return 0;
  char target[MAX_PATH];
  if (!payload::JoinPath(target, sizeof target, folder, name)) return 0;

  StoreFile store;
  payload::Member member;
  if (!store.Open(g_module) || !HaveBuffers() || !store.Find(name, &member)) return 0;
  // Its frame and the next one unpack on a second thread as well while this
  // one writes; a member in the middle of a frame that the unpacker of one
  // member at a time is going through goes on with it.
  const bool ahead = FrameAhead::Processors() > 1 && member.method == payload::kMethodZstd &&
                     !g_unpacker.GoesOnWith(member, g_buffers);
  const uint8_t* ready = NULL;
  if (ahead) {
    payload::Member frames[FrameAhead::kFrames];
    g_frameAhead.Start(g_module, store, frames, store.FramesFrom(member, frames, FrameAhead::kFrames), member);
    ready = g_frameAhead.Wait(store, member);
  }
  const bool made = MakeTarget(store, member, ready, folder, target);
  if (ahead) g_frameAhead.Stop();
  return made ? 1 : 0;
}
