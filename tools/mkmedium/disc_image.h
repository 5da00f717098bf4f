// The setup medium as a CD-ROM image: the names a disc can carry, the
// AUTORUN.INF that starts setup when the disc goes in, and the image itself,
// made by xorriso's mkisofs (ISO 9660 with Joliet names).
#pragma once

#include <filesystem>
#include <string>

namespace medium {

inline constexpr char kAutorunName[] = "AUTORUN.INF";
inline constexpr char kDefaultLabel[] = "CORVANE";

// AUTORUN.INF: [autorun] with open= and icon=, the two keys Windows 95's
// shell reads; both name SETUP.EXE in the disc's root.
std::string AutorunText();

// Why a file name (UTF-8, as the build machine spells it) would not come off
// the disc as written on a Korean Windows: empty when it would. Windows reads
// the Joliet name (at most 64 UTF-16 units, none of * / : ; ? \) and hands
// it to setup in code page 949, where it must still be a plain file name.
std::string DiscNameProblem(const std::string& name);

// Why label cannot be the volume label: empty when it can. ISO 9660 allows
// upper-case letters, digits and '_'; Joliet at most 16 characters.
std::string LabelProblem(const std::string& label);

// Every name under folder must come off the disc as written, and the names
// of one folder must differ in more than letter case (Windows would find
// only one of them). False, with error naming the file and the reason.
bool CheckDiscNames(const std::filesystem::path& folder, std::string* error);

// Puts AUTORUN.INF into the medium folder and writes the folder as the image
// iso, after CheckDiscNames. False, with error set, when the names are
// refused or xorrisofs fails; no image is left behind then.
bool WriteDiscImage(const std::filesystem::path& folder, const std::filesystem::path& iso, const std::string& label,
                    std::string* error);

}  // namespace medium
