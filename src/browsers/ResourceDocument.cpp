#include "browsers/ResourceDocument.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/AbortFlag.h"
#include "core/DataKey.h"
#include "core/SystemVars.h"
#include "core/cls_RCFile.h"
#include "core/mod_Helper.h"
#include "core/mod_MD5.h"
#include "formats/FileIo.h"
#include "formats/TextRules.h"

namespace mod_Viewer {

namespace {

std::string entryName(const ArchiveEntry& entry) {
    return std::string(formats::TrimSpaces(entry.Name));
}

bool isPage(std::string_view name) {
    return formats::TrimSpaces(mod_Helper::GetFileExtension(formats::LowerCase(name))) == "html";
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// ArchiveEntries as the reader left them; the reader's own failure never stays in AbortFlag,
// while one raised before this read does.
std::optional<std::vector<ArchiveEntry>> readContainer(const std::filesystem::path& path) {
    const bool pending = std::exchange(AbortFlag, false);
    cls_RCFile().ExtractData(path);
    const bool failed = AbortFlag;
    AbortFlag = pending;
    std::vector<ArchiveEntry> entries = std::move(ArchiveEntries);
    ArchiveEntries.clear();
    if (failed) return std::nullopt;
    return entries;
}

// The program owns the folder: whatever stands in its place that is no real folder goes, a
// link as a link (its target is never touched), so nothing is written through it.
bool makeOwnFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(folder, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status))
        std::filesystem::remove(folder, ec);
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(std::filesystem::symlink_status(folder, ec));
}

// Whether the container has anything for the folder: the folder is made only then.
bool fillsTheFolder(const std::vector<ArchiveEntry>& entries) {
    return std::any_of(std::next(entries.begin()), entries.end(), [](const ArchiveEntry& entry) {
        return entryName(entry) != kIntegrityEntry;
    });
}

bool isGenuine(const std::vector<ArchiveEntry>& entries, const std::filesystem::path& path) {
    const std::string digest = DocumentDigest(SystemVars.ProductName, SystemVars.ProductCode,
                                              DataKey, mod_Helper::GetFileName(path.string()));
    bool found = false;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const std::string name = entryName(entries[i]);
        if (!IsPlainFileName(name)) return false;
        if (name != kIntegrityEntry) continue;
        if (mod_Helper::BytesToString(entries[i].Data) != digest) return false;
        found = true;
    }
    return found;
}

}  // namespace

std::string DocumentDigest(std::string_view productName, std::string_view productCode,
                           std::string_view dataKey, std::string_view fileName) {
    std::string text;
    text.append(productName).append(productCode).append(dataKey).append(fileName);
    return mod_MD5::MD5String(text);
}

std::string FolderUrl(const std::filesystem::path& folder) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr std::string_view kKept =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~/";
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    const std::string path = (ec ? folder : absolute).generic_string() + "/";
    std::string url = path.front() == '/' ? "file://" : "file:///";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (kKept.find(c) != std::string_view::npos) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}

std::string PageWithFolder(std::string page, const std::filesystem::path& folder) {
    return replaceAll(std::move(page), kFolderPlaceholder, FolderUrl(folder));
}

bool IsPlainFileName(std::string_view name) {
    return IsSafeArchiveEntryName(name) &&
           std::none_of(name.begin(), name.end(),
                        [](char c) {
                            const auto byte = static_cast<unsigned char>(c);
                            return byte < 0x20 || byte == 0x7F;
                        }) &&
           !std::filesystem::path(name).has_root_path();
}

std::optional<std::string> UnpackResourceDocument(const std::filesystem::path& containerPath,
                                                  const std::filesystem::path& tempFolder) {
    std::error_code ec;
    if (!mod_Helper::FileExists(containerPath)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(containerPath, ec);
    if (ec || size < 1 || size > kLargestDocumentBytes) return std::nullopt;
    const auto entries = readContainer(containerPath);
    if (!entries || !isGenuine(*entries, containerPath)) return std::nullopt;
    if (fillsTheFolder(*entries) && !makeOwnFolder(tempFolder)) return std::nullopt;

    std::string page;
    for (std::size_t i = 1; i < entries->size(); ++i) {
        const ArchiveEntry& entry = (*entries)[i];
        const std::string name = entryName(entry);
        if (name == kIntegrityEntry) continue;
        if (isPage(name)) {
            page = PageWithFolder(mod_Helper::BytesToString(entry.Data), tempFolder);
        } else if (!formats::WriteFileReplacing(tempFolder / name, entry.Data, nullptr, nullptr,
                                                formats::Flush::kNone)) {
            return std::nullopt;
        }
    }
    return page;
}

}  // namespace mod_Viewer
