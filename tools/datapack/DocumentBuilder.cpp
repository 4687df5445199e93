#include "DocumentBuilder.h"

#include <algorithm>
#include <vector>

#include "SourceText.h"
#include "browsers/ResourceDocument.h"
#include "core/cls_RCFile.h"
#include "formats/FileIo.h"
#include "formats/TextRules.h"

namespace datapack {

namespace fs = std::filesystem;

namespace {

using Entries = std::vector<std::pair<std::string, formats::Bytes>>;

bool isPage(const fs::path& file) {
    return formats::LowerCase(file.extension().string()) == ".html";
}

std::vector<fs::path> filesOf(const fs::path& folder, std::string& report) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        if (item.is_regular_file() && item.path().filename().string().front() != '.')
            files.push_back(item.path());
    }
    if (ec) report += "cannot list " + folder.string() + "\n";
    std::sort(files.begin(), files.end());
    return files;
}

// The names that follow each placeholder, up to the end of the attribute or URL (names may
// hold spaces).
std::vector<std::string> referencedFiles(std::string_view page) {
    std::vector<std::string> names;
    const std::string_view marker = mod_Viewer::kFolderPlaceholder;
    for (auto at = page.find(marker); at != std::string_view::npos; at = page.find(marker, at)) {
        at += marker.size();
        const auto end = page.find_first_of("\"'<>()\t\r\n#?", at);
        names.emplace_back(page.substr(at, end == std::string_view::npos ? end : end - at));
    }
    return names;
}

}  // namespace

std::optional<formats::Bytes> packDocument(const ProductIdentity& product, const fs::path& folder,
                                           const fs::path& container, std::string& report,
                                           const PageCheck& checkPage) {
    const std::size_t reported = report.size();
    const std::string digest = mod_Viewer::DocumentDigest(
        product.name, product.code, product.dataKey, container.filename().string());
    Entries entries{
        {std::string(mod_Viewer::kIntegrityEntry), formats::Bytes(digest.begin(), digest.end())}};
    std::vector<std::string> packed;
    std::string page;
    int pages = 0;
    for (const fs::path& file : filesOf(folder, report)) {
        auto bytes = formats::ReadFileBytes(file);
        const std::string name = file.filename().string();
        if (!bytes) {
            report += "cannot read " + file.string() + "\n";
        } else if (!mod_Viewer::IsPlainFileName(name) || name == mod_Viewer::kIntegrityEntry) {
            report += file.string() + ": not a name a document may hold\n";
        } else if (isPage(file)) {
            bool ok = true;
            page = toWindows1252(
                std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), ok);
            if (!ok) report += file.string() + ": text outside Windows-1252 or not UTF-8\n";
            if (const auto refusal = checkPage(page, folder))
                report += file.string() + ": the viewer would refuse the page: " + *refusal + "\n";
            entries.emplace_back(name, formats::Bytes(page.begin(), page.end()));
            ++pages;
        } else {
            packed.push_back(name);
            entries.emplace_back(name, std::move(*bytes));
        }
    }
    if (pages != 1) report += folder.string() + ": needs exactly one *.html page\n";
    for (const std::string& name : referencedFiles(page)) {
        if (std::find(packed.begin(), packed.end(), name) == packed.end())
            report += folder.string() + ": the page refers to a missing file \"" + name + "\"\n";
    }
    if (report.size() != reported) return std::nullopt;

    auto archive = cls_RCFile().BuildArchive(entries);
    if (!archive)
        report += container.string() + ": a file name would not read back from the archive\n";
    return archive;
}

bool buildDocument(const ProductIdentity& product, const fs::path& folder,
                   const fs::path& container, std::string& report, const PageCheck& checkPage) {
    const auto archive = packDocument(product, folder, container, report, checkPage);
    if (!archive) return false;
    if (!formats::WriteFileReplacing(container, *archive)) {
        report += "cannot write " + container.string() + "\n";
        return false;
    }
    return true;
}

bool packDocuments(const ProductIdentity& product, const fs::path& sources, const fs::path& target,
                   PackedFiles& packed, std::string& report, const PageCheck& checkPage) {
    std::error_code ec;
    std::vector<fs::path> folders;
    for (const auto& item : fs::directory_iterator(sources, ec)) {
        if (item.is_directory()) folders.push_back(item.path());
    }
    if (ec) {
        report += "cannot list " + sources.string() + "\n";
        return false;
    }
    std::sort(folders.begin(), folders.end());
    // Every document is tried, so that one build reports every refusal.
    bool built = true;
    for (const fs::path& folder : folders) {
        const fs::path container = target / (folder.filename().string() + ".dat");
        auto archive = packDocument(product, folder, container, report, checkPage);
        if (archive)
            packed.emplace_back(container, std::move(*archive));
        else
            built = false;
    }
    return built;
}

}  // namespace datapack
