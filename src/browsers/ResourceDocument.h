#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Unpacking of the packed resource documents (a page, its files and the "header.dat" digest
// that binds the container to the product and to its own file name).
namespace mod_Viewer {

inline constexpr std::string_view kIntegrityEntry = "header.dat";
inline constexpr std::string_view kFolderPlaceholder = "{APP.PATH}";
// A larger container is refused from its size alone (the shipped ones are below 100 KB).
inline constexpr std::uint64_t kLargestDocumentBytes = 64 * 1024 * 1024;

// How the viewer lays its page out, in pixels: its margin, and the narrowest its window gets.
inline constexpr int kPageMargin = 10;
inline constexpr int kNarrowestWindow = 600;

// The "header.dat" text of a container stored as `fileName` (letter case included).
std::string DocumentDigest(std::string_view productName, std::string_view productCode,
                           std::string_view dataKey, std::string_view fileName);

// A file: URL of the folder, ending in '/', percent-encoded so that "#", "%" and spaces in it
// load; plain ASCII, so it fits into a Windows-1252 page.
std::string FolderUrl(const std::filesystem::path& folder);

// The page with every placeholder turned into the URL of the folder its files are in.
std::string PageWithFolder(std::string page, const std::filesystem::path& folder);

// Whether an entry may be unpacked under this name: a plain file name, with no separator,
// no control character, not "." or "..".
bool IsPlainFileName(std::string_view name);

// Checks the container at `containerPath` against the product strings and DataKey, then
// writes every entry except the page and "header.dat" into `tempFolder` as a cache, unflushed
// (a file there of the same name is written over, a link or a file with other names replaced; when
// the container has any entry but "header.dat", whatever stands in the folder's place that is
// no real folder is replaced by one, a link's target untouched). Returns the page (Windows-1252, ""
// when the container has none) with every placeholder turned into the folder's URL; nullopt when
// the container is missing, empty, larger than kLargestDocumentBytes, damaged, not made for this
// product and file name, or cannot be unpacked. Nothing is written unless every entry has a plain
// name and the digest matches. AbortFlag is left as it was.
std::optional<std::string> UnpackResourceDocument(const std::filesystem::path& containerPath,
                                                  const std::filesystem::path& tempFolder);

}  // namespace mod_Viewer
