// A resource document unpacked into Data/Resources/temp, whatever stands in that folder's
// place, then the folder deleted as at exit: nothing outside it is written or removed, and a
// refused container writes nothing. The first byte sets the scene (DocumentScene.h), the
// rest is the container.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "DocumentScene.h"
#include "FuzzSupport.h"
#include "browsers/ResourceDocument.h"
#include "core/AppPaths.h"
#include "core/cls_RCFile.h"
#include "core/mod_Helper.h"
#include "core/mod_file.h"
#include "formats/FileIo.h"
#include "formats/TextRules.h"

namespace fs = std::filesystem;

namespace {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "document fuzz: %s\n", what);
    std::abort();
}

// Every entry under `root` but `skipped` and what is below it: its type, and a file's
// content or a link's target.
using Snapshot = std::map<std::string, std::pair<fs::file_type, std::string>>;

std::string contentOf(const fs::directory_entry& entry) {
    // The container padded past the ceiling is known by its size.
    constexpr std::uint64_t kLargestCompared = 1 << 20;
    if (entry.is_symlink()) return fs::read_symlink(entry.path()).string();
    if (!entry.is_regular_file()) return {};
    if (entry.file_size() > kLargestCompared) return std::to_string(entry.file_size()) + " bytes";
    const auto bytes = formats::ReadFileBytes(entry.path());
    return bytes ? std::string(bytes->begin(), bytes->end()) : "unreadable";
}

Snapshot snapshot(const fs::path& root, const fs::path& skipped = {}) {
    Snapshot entries;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(root, ec))) return entries;
    if (!fs::is_directory(fs::symlink_status(root, ec))) {
        const fs::directory_entry entry(root);
        entries[""] = {entry.symlink_status().type(), contentOf(entry)};
        return entries;
    }
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        if (it->path() == skipped) {
            it.disable_recursion_pending();
            continue;
        }
        entries[it->path().lexically_relative(root).string()] = {it->symlink_status().type(),
                                                                 contentOf(*it)};
    }
    return entries;
}

std::string trimmed(const std::string& name) {
    return std::string(formats::TrimSpaces(name));
}

bool isPage(const std::string& name) {
    return formats::TrimSpaces(mod_Helper::GetFileExtension(formats::LowerCase(name))) == "html";
}

// Whether an accepted container makes the folder: any entry but the integrity entry does.
bool makesTheFolder(const std::vector<ArchiveEntry>& entries) {
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (trimmed(entries[i].Name) != mod_Viewer::kIntegrityEntry) return true;
    return false;
}

// The files an accepted container leaves in the folder: the last entry of each name wins.
std::map<std::string, std::string> unpackedFiles(const std::vector<ArchiveEntry>& entries) {
    std::map<std::string, std::string> files;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const std::string name = trimmed(entries[i].Name);
        if (name == mod_Viewer::kIntegrityEntry || isPage(name)) continue;
        files[name] = std::string(entries[i].Data.begin(), entries[i].Data.end());
    }
    return files;
}

void setScene(std::uint8_t choice, const fs::path& temp, const fs::path& outside,
              const std::vector<ArchiveEntry>& entries) {
    std::error_code ec;
    fs::remove_all(temp, ec);
    fs::remove_all(outside, ec);
    fs::create_directories(outside, ec);
    // The scene stands even for the first input of a process.
    fs::create_directories(temp.parent_path(), ec);
    const std::uint8_t user[] = {'u', 's', 'e', 'r'};
    require(formats::WriteFileReplacing(outside / "pic.png", user), "cannot write the user file");

    const auto kind = static_cast<documentscene::TempFolder>(
        (choice & ~documentscene::kPastTheCeiling) % documentscene::kTempFolderKinds);
    switch (kind) {
        case documentscene::kAbsent:
            break;
        case documentscene::kRealFolder:
            require(formats::WriteFileReplacing(temp / "old.png", user), "cannot write old.png");
            break;
        case documentscene::kLinkToAFolder:
            fs::create_directory_symlink(outside, temp, ec);
            break;
        case documentscene::kPlainFile:
            require(formats::WriteFileReplacing(temp, user), "cannot write the plain file");
            break;
        case documentscene::kLinksInside:
            fs::create_directories(temp, ec);
            fs::create_directory_symlink(outside, temp / "folder-link", ec);
            for (std::size_t i = 1; i < entries.size(); ++i) {
                const std::string name = trimmed(entries[i].Name);
                if (mod_Viewer::IsPlainFileName(name))
                    fs::create_symlink(outside / "pic.png", temp / name, ec);
            }
            break;
        case documentscene::kHardLinksInside:
            fs::create_directories(temp, ec);
            for (std::size_t i = 1; i < entries.size(); ++i) {
                const std::string name = trimmed(entries[i].Name);
                if (mod_Viewer::IsPlainFileName(name))
                    fs::create_hard_link(outside / "pic.png", temp / name, ec);
            }
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    fuzzsupport::PrepareProgram();
    const fs::path& root = AppPaths::ProgramFolder();
    const fs::path temp = AppPaths::ResourcesTempFolder();
    const fs::path outside = root / "outside";
    const fs::path container = AppPaths::ResourcesFolder() / "Guides.dat";

    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    const auto entries =
        cls_RCFile().ReadEntries(in, size - 1).value_or(std::vector<ArchiveEntry>{});
    setScene(data[0], temp, outside, entries);
    fuzzsupport::WriteInput(container, data + 1, size - 1);
    if (data[0] & documentscene::kPastTheCeiling)
        fs::resize_file(container, mod_Viewer::kLargestDocumentBytes + 1);

    const Snapshot around = snapshot(root, temp);
    const Snapshot inside = snapshot(temp);
    const auto page = mod_Viewer::UnpackResourceDocument(container, temp);
    require(snapshot(root, temp) == around, "something outside the folder changed");
    const bool madeTheFolder = page && makesTheFolder(entries);
    if (!madeTheFolder) {
        require(snapshot(temp) == inside, "the folder changed without cause");
    } else {
        require(!(data[0] & documentscene::kPastTheCeiling), "an oversize container was read");
        require(fs::is_directory(fs::symlink_status(temp)), "the folder is no real folder");
        for (const auto& [name, content] : unpackedFiles(entries)) {
            const fs::directory_entry file(temp / name);
            require(file.symlink_status().type() == fs::file_type::regular &&
                        contentOf(file) == content,
                    "an entry was not unpacked as a file");
        }
    }

    mod_file::DeleteFolder(temp);
    require(snapshot(root, temp) == around, "deleting the folder changed something outside it");
    require(!madeTheFolder || !fs::exists(fs::symlink_status(temp)),
            "the folder outlived its deletion");
    return 0;
}
