#pragma once

#include <cstdint>

// The document target's first input byte: what stands in the temporary folder's place
// (the byte modulo kTempFolderKinds), and whether the container is padded past the ceiling.
namespace documentscene {

enum TempFolder : std::uint8_t {
    kAbsent,
    kRealFolder,     // holding a file of its own
    kLinkToAFolder,  // a symbolic link to a folder of the user's
    kPlainFile,
    kLinksInside,      // a real folder holding a link for each entry name, and one to a folder
    kHardLinksInside,  // a real folder holding, under each entry name, another name of a user file
};
inline constexpr std::uint8_t kTempFolderKinds = 6;
inline constexpr std::uint8_t kPastTheCeiling = 0x80;

}  // namespace documentscene
