#include "DataBuilder.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "DocumentBuilder.h"
#include "QuestionSource.h"
#include "SysvarsSource.h"
#include "core/DataKey.h"
#include "core/cls_RCFile.h"
#include "core/mod_Helper.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "formats/FileIo.h"
#include "formats/TextRules.h"
#include "formats/Windows1252.h"

namespace datapack {

namespace fs = std::filesystem;

namespace {

using Entries = std::vector<std::pair<std::string, formats::Bytes>>;

formats::Bytes bytesOf(std::string_view text) {
    return formats::Bytes(text.begin(), text.end());
}

// Image files of a folder in name order, so archives come out the same on every build.
bool collectImages(const fs::path& folder, Entries& entries, std::string& report) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        const std::string ext = formats::LowerCase(item.path().extension().string());
        if (item.is_regular_file() && (ext == ".gif" || ext == ".jpg" || ext == ".jpeg"))
            files.push_back(item.path());
    }
    if (ec) {
        report += "cannot list " + folder.string() + "\n";
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        auto bytes = formats::ReadFileBytes(file);
        if (!bytes) {
            report += "cannot read " + file.string() + "\n";
            return false;
        }
        const std::string name = file.filename().string();
        // The program finds pictures by names it compares in ASCII only.
        if (std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; })) {
            report += file.string() + ": the file name must be ASCII\n";
            return false;
        }
        entries.emplace_back(name, std::move(*bytes));
    }
    return true;
}

bool packArchive(const fs::path& path, const Entries& entries, PackedFiles& packed,
                 std::string& report) {
    auto archive = cls_RCFile().BuildArchive(entries);
    if (!archive) {
        report += path.string() + ": an entry name would not read back from the archive\n";
        return false;
    }
    packed.emplace_back(path, std::move(*archive));
    return true;
}

// Every file is written beside its target first; only when all are written do they replace
// the old ones, so a failed build leaves the old data folder whole.
bool writeAllOrNone(const PackedFiles& packed, std::string& report) {
    std::vector<formats::PendingReplacement> pending;
    pending.reserve(packed.size());
    for (const auto& [path, bytes] : packed) {
        auto written = formats::WriteFilePending(path, bytes);
        if (!written) {
            report += "cannot write " + path.string() + "\n";
            return false;
        }
        pending.push_back(std::move(*written));
    }
    for (std::size_t k = 0; k < pending.size(); ++k) {
        if (!pending[k].Replace()) {
            report += "cannot write " + packed[k].first.string() + "\n";
            return false;
        }
    }
    return true;
}

bool readSource(const fs::path& path, std::vector<std::string>& lines, std::string& report) {
    std::string error;
    if (readLines(path.string(), lines, error)) return true;
    report += error + "\n";
    return false;
}

std::optional<std::vector<ArchiveEntry>> readArchive(const fs::path& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) return std::nullopt;
    return cls_RCFile().ReadEntries(in, size);
}

const ArchiveEntry* findEntry(const std::vector<ArchiveEntry>& entries, std::string_view name) {
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (formats::TrimSpaces(entries[i].Name) == name) return &entries[i];
    }
    return nullptr;
}

}  // namespace

bool buildDataFolder(const fs::path& source, const fs::path& data, std::string& report,
                     const PageCheck& checkPage) {
    std::vector<std::string> sysvarsLines;
    std::vector<std::string> questionLines;
    if (!readSource(source / "system" / "sysvars.txt", sysvarsLines, report) ||
        !readSource(source / "bank" / "questions.txt", questionLines, report))
        return false;

    auto sysvars = parseSysvarsSource(sysvarsLines, (source / "system" / "sysvars.txt").string());
    auto questions =
        parseQuestionSource(questionLines, (source / "bank" / "questions.txt").string());
    report += describe(sysvars.errors) + describe(questions.errors);
    if (!sysvars.errors.empty() || !questions.errors.empty()) return false;

    const auto key = MakeDataKey(sysvars.record.DataKeySource);
    if (!key || sysvars.record.ProductCode.empty()) {
        report += "DataKeySource is too short to give a key, or ProductCode is empty\n";
        return false;
    }

    Entries systemEntries{{"sysvars.dat", mod_System::WriteSystemVars(sysvars.record)}};
    Entries dataEntries{
        {"header.dat", bytesOf(mod_Question::DataDigest(sysvars.record.ProductName,
                                                        sysvars.record.ProductCode, *key))},
        {"questions.db", bytesOf(questionsDb(questions.questions))}};
    if (!collectImages(source / "images", systemEntries, report) ||
        !collectImages(source / "bank" / "pictures", dataEntries, report))
        return false;

    std::map<std::string, bool> pictures;
    for (std::size_t i = 2; i < dataEntries.size(); ++i)
        pictures[formats::LowerCase(dataEntries[i].first)] = true;
    bool picturesFound = true;
    for (const auto& q : questions.questions) {
        if (!q.PictureName.empty() &&
            !pictures.contains(formats::LowerCase(formats::TrimSpaces(q.PictureName)))) {
            report += "question " + std::to_string(q.QuestionID) + ": no picture " +
                      formats::Windows1252ToUtf8(q.PictureName) + "\n";
            picturesFound = false;
        }
    }
    if (!picturesFound) return false;

    PackedFiles packed;
    if (!packArchive(data / "System.dat", systemEntries, packed, report) ||
        !packArchive(data / "Data.dat", dataEntries, packed, report))
        return false;
    const ProductIdentity product{sysvars.record.ProductName, sysvars.record.ProductCode, *key};
    if (fs::is_directory(source / "resources") &&
        !packDocuments(product, source / "resources", data / "Resources", packed, report,
                       checkPage))
        return false;
    if (!writeAllOrNone(packed, report)) return false;
    report += "built " + std::to_string(questions.questions.size()) + " questions, " +
              std::to_string(dataEntries.size() - 2) + " pictures, " +
              std::to_string(systemEntries.size() - 1) + " interface images\n";
    return true;
}

bool buildDocumentForDataFolder(const fs::path& data, const fs::path& folder,
                                const fs::path& container, std::string& report,
                                const PageCheck& checkPage) {
    const auto system = readArchive(data / "System.dat");
    const ArchiveEntry* record = system ? findEntry(*system, "sysvars.dat") : nullptr;
    const auto sysvars =
        record ? std::optional(mod_System::ReadSystemVars(record->Data)) : std::nullopt;
    const auto key = sysvars ? MakeDataKey(sysvars->DataKeySource) : std::nullopt;
    if (!key) {
        report += "cannot read the product and key from " + (data / "System.dat").string() + "\n";
        return false;
    }
    return buildDocument({sysvars->ProductName, sysvars->ProductCode, *key}, folder, container,
                         report, checkPage);
}

bool describeDataFolder(const fs::path& data, std::string& report) {
    const auto system = readArchive(data / "System.dat");
    const ArchiveEntry* record = system ? findEntry(*system, "sysvars.dat") : nullptr;
    if (!record) {
        report += "cannot read sysvars.dat from " + (data / "System.dat").string() + "\n";
        return false;
    }
    const SystemVarsRecord sysvars = mod_System::ReadSystemVars(record->Data);
    const auto key = MakeDataKey(sysvars.DataKeySource);
    const auto bank = readArchive(data / "Data.dat");
    const ArchiveEntry* header = bank ? findEntry(*bank, "header.dat") : nullptr;
    const ArchiveEntry* db = bank ? findEntry(*bank, "questions.db") : nullptr;
    if (!key || !db) {
        report += "cannot read the key or questions.db\n";
        return false;
    }
    const auto parsed = mod_Question::ParseQuestions(
        std::string_view(reinterpret_cast<const char*>(db->Data.data()), db->Data.size()));
    if (!parsed) {
        report += "questions.db is malformed\n";
        return false;
    }
    const bool digestMatches =
        header && mod_Helper::BytesToString(header->Data) ==
                      mod_Question::DataDigest(sysvars.ProductName, sysvars.ProductCode, *key);

    std::ostringstream out;
    const auto utf8 = [](std::string_view text) { return formats::Windows1252ToUtf8(text); };
    out << "Product name:   " << utf8(sysvars.ProductName) << "\n"
        << "Product code:   " << utf8(sysvars.ProductCode) << "\n"
        << "DataKey:        " << *key << "\n"
        << "Data.dat digest " << (digestMatches ? "matches" : "DOES NOT MATCH") << "\n"
        << "Questions:      " << parsed->questions.size() << "\n"
        << "Pictures:       " << (bank->size() > 3 ? bank->size() - 3 : 0) << "\n"
        << "Objectives:\n";
    for (const auto& objective : parsed->objectives)
        out << "  " << utf8(objective) << "\n";
    out << "Practice codes:";
    for (const auto code : parsed->practiceGroups)
        out << " " << code;
    out << "\n";
    report += out.str();
    return digestMatches;
}

}  // namespace datapack
