// Junctions for tests under Wine.  Wine 8 makes no NTFS links
// (CreateSymbolicLinkA does nothing), but it shows a Unix symbolic link to a
// folder as a folder with FILE_ATTRIBUTE_REPARSE_POINT, as Windows shows a
// junction, and it starts a Unix program in the Windows current folder.
#pragma once
#include <string>

// Makes `name` in `folder` a link to `target`, a Unix path relative to
// `folder` ("../x"); true once the link is there.
bool MakeLinkForTest(const std::string& folder, const std::string& name, const std::string& target);

// Removes such a link, which RemoveDirectoryA cannot remove under Wine.
void RemoveLinkForTest(const std::string& folder, const std::string& name);
