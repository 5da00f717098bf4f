// Files and folders of the test machine as the programs under test see
// them: whole files read and written, trees made and removed, folders
// listed, the system's folders, program headers, and junctions under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace machine {

bool Exists(const std::string& path);  // file or folder
bool IsFolder(const std::string& path);
std::optional<std::string> ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
// The lines of a text file, without their CR LF; none when the file is absent.
std::vector<std::string> Lines(const std::string& path);

// What a file is, as a check of "left exactly as it was" compares it:
// contents, attributes and last write time.
struct FileState {
  bool exists = false;
  std::string bytes;
  DWORD attributes = 0;
  FILETIME written{};
  bool operator==(const FileState& other) const;
};
FileState StateOf(const std::string& path);
// Plants a file with the given attributes and a last write time in 2001, so
// that a restored file is told apart from a new copy.
bool PlantOldFile(const std::string& path, const std::string& bytes, DWORD attributes);

// Creates the folder and every missing folder above it.
bool MakeFolders(const std::string& path);
// Removes a file, or a folder with everything in it, read-only entries
// included.  A junction is removed (where the system can) but never entered.
void DeleteTree(const std::string& path);

// Names in a folder matching `pattern`, sorted without regard to ASCII case:
// its files, and with `folders` its subfolders too, each marked by a
// trailing backslash.
std::vector<std::string> Names(const std::string& folder, const char* pattern = "*.*", bool folders = false);
// Calls visit(path, isFolder) for every file and folder below `folder`
// (not for `folder` itself), a folder before what it holds.
void WalkTree(const std::string& folder, const std::function<void(const std::string&, bool)>& visit);
// Files directly in a folder, as full paths.
std::vector<std::string> FilesIn(const std::string& folder);

std::string Join(const std::string& folder, const std::string& name);
// A path up to its last backslash.
std::string FolderOf(const std::string& path);
std::string WindowsFolder();
std::string SystemFolder();
// TEMP, with the trailing backslash that GetTempPathA gives.
std::string TempFolder();
// The folder of the running program.
std::string ProgramFolder();
// The 8.3 form of an existing path; empty when there is none.
std::string ShortPath(const std::string& path);
// An environment variable of this process; empty when unset.
std::string Environment(const char* name);
// A Unix path as Wine shows it: on drive Z:, with backslashes.
std::string WinePath(const std::string& unixPath);

// The PE headers of a program file; none when it is not one.
std::optional<IMAGE_NT_HEADERS32> ImageHeaders(const std::string& path);

// Junctions.  Wine 8 makes no NTFS links (CreateSymbolicLinkA does nothing),
// but it shows a Unix symbolic link to a folder as a folder with
// FILE_ATTRIBUTE_REPARSE_POINT, as Windows shows a junction.  Makes `name`
// in `folder` such a link to `target`, a Unix path relative to `folder`
// ("../x"); true once the link is there.
bool MakeJunction(const std::string& folder, const std::string& name, const std::string& target);
// Removes such a link, which RemoveDirectoryA cannot remove under Wine.
void RemoveJunction(const std::string& folder, const std::string& name);

}  // namespace machine
