#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formats/Bytes.h"

namespace datapack {

// What a resource container's "header.dat" binds it to.
struct ProductIdentity {
    std::string name;  // Windows-1252, as in the system texts
    std::string code;
    std::string dataKey;
};

// Whether the viewer would show a page (Windows-1252, its placeholders standing for `folder`,
// which holds its files): nullopt, or why not.
using PageCheck = std::function<std::optional<std::string>(const std::string& page,
                                                           const std::filesystem::path& folder)>;

// Files a build writes together: each path with its bytes.
using PackedFiles = std::vector<std::pair<std::filesystem::path, formats::Bytes>>;

// Packs a resource document from a folder: "header.dat" made for the container's file name
// (letter case included), the folder's one *.html page (UTF-8, stored in Windows-1252) and
// every other file of the folder as it is. Every "{APP.PATH}name" of the page must name one
// of those files, and the page must pass `checkPage`. Returns nullopt with the reasons in
// `report`.
std::optional<formats::Bytes> packDocument(const ProductIdentity& product,
                                           const std::filesystem::path& folder,
                                           const std::filesystem::path& container,
                                           std::string& report, const PageCheck& checkPage);

// packDocument, written to `container`.
bool buildDocument(const ProductIdentity& product, const std::filesystem::path& folder,
                   const std::filesystem::path& container, std::string& report,
                   const PageCheck& checkPage);

// Every subfolder of `sources` packed as `target`/<subfolder name>.dat, in name order, added
// to `packed`; false with every refusal in `report` when any is refused.
bool packDocuments(const ProductIdentity& product, const std::filesystem::path& sources,
                   const std::filesystem::path& target, PackedFiles& packed, std::string& report,
                   const PageCheck& checkPage);

}  // namespace datapack
