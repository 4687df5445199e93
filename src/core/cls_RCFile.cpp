#include "core/cls_RCFile.h"

#include <fstream>
#include <limits>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "formats/BinaryWriter.h"
#include "formats/FileIo.h"
#include "formats/TextRules.h"

namespace {

std::string trimmed(std::string_view text) {
    return std::string(formats::TrimSpaces(text));
}

constexpr std::size_t kEntryHeaderBytes = cls_RCFile::kNameLength + 4;

std::string padName(std::string name) {
    name.resize(cls_RCFile::kNameLength, ' ');
    return name;
}

std::int32_t readInt32(std::istream& in) {
    unsigned char b[4] = {};
    in.read(reinterpret_cast<char*>(b), 4);
    return static_cast<std::int32_t>(std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
                                     (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24));
}

}  // namespace

bool IsSafeArchiveEntryName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::int32_t cls_RCFile::File_Count() const {
    return static_cast<std::int32_t>(files_.size());
}

std::vector<std::filesystem::path> cls_RCFile::Get_Files() const {
    std::vector<std::filesystem::path> list{{}};
    list.insert(list.end(), files_.begin(), files_.end());
    return list;
}

void cls_RCFile::Add_File(const std::filesystem::path& path) {
    files_.push_back(path);
}

void cls_RCFile::Remove_File(std::int32_t index) {
    if (index >= 1 && index <= File_Count()) files_.erase(files_.begin() + (index - 1));
}

std::optional<std::vector<ArchiveEntry>> cls_RCFile::ReadEntries(std::istream& in,
                                                                 std::uint64_t size) {
    error_ = ArchiveError::kNone;
    if (size < 8) return refuse(ArchiveError::kTooShort);
    const std::int32_t count = readInt32(in);
    readInt32(in);  // total: written for the record, never trusted
    std::uint64_t left = size - 8;
    if (count < 0 || static_cast<std::uint64_t>(count) > left / kEntryHeaderBytes)
        return refuse(ArchiveError::kCountBeyondData);

    std::vector<ArchiveEntry> entries(static_cast<std::size_t>(count) + 1);
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (left < kEntryHeaderBytes) return refuse(ArchiveError::kEntryBeyondData);
        std::string field(kNameLength, ' ');
        in.read(field.data(), kNameLength);
        const std::int32_t entrySize = readInt32(in);
        left -= kEntryHeaderBytes;
        if (!in) return refuse(ArchiveError::kUnreadable);
        if (entrySize < 0 || static_cast<std::uint64_t>(entrySize) + 1 > left)
            return refuse(ArchiveError::kEntryBeyondData);

        ArchiveEntry& entry = entries[i];
        entry.Name = padName(cipher_.DecryptString(trimmed(field), GetKey()));
        entry.Size = entrySize;
        entry.Data.resize(static_cast<std::size_t>(entrySize) + 1);
        in.read(reinterpret_cast<char*>(entry.Data.data()),
                static_cast<std::streamsize>(entry.Data.size()));
        if (!in) return refuse(ArchiveError::kUnreadable);
        left -= entry.Data.size();
        cipher_.DecryptByte(entry.Data, GetKey());
    }
    return entries;
}

void cls_RCFile::ExtractData(const std::filesystem::path& archivePath) {
    ArchiveEntries.clear();
    std::error_code ec;
    const auto size = std::filesystem::file_size(archivePath, ec);
    std::ifstream in(archivePath, std::ios::binary);
    auto entries = (ec || !in) ? refuse(ArchiveError::kUnreadable) : ReadEntries(in, size);
    if (!entries) {
        AbortFlag = true;
        return;
    }
    ArchiveEntries = std::move(*entries);
}

std::optional<formats::Bytes> cls_RCFile::BuildArchive(
    const std::vector<std::pair<std::string, formats::Bytes>>& files) {
    constexpr auto kMaxSize = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    std::int64_t total = 16 + 108 * static_cast<std::int64_t>(files.size());
    for (const auto& [name, content] : files) {
        if (!NameRoundTrips(name) || content.size() >= kMaxSize) return std::nullopt;
        total += static_cast<std::int64_t>(content.size());
    }

    formats::BinaryWriter out;
    out.writeInt32(static_cast<std::int32_t>(files.size()));
    out.writeInt32(static_cast<std::int32_t>(total));
    for (const auto& [name, content] : files) {
        out.writeFixedString(cipher_.EncryptString(trimmed(name), GetKey()), kNameLength);
        out.writeInt32(static_cast<std::int32_t>(content.size()));
        formats::Bytes data = content;
        data.push_back(0);
        cipher_.EncryptByte(data, GetKey());
        out.writeBytes(data);
    }
    return out.takeBytes();
}

bool cls_RCFile::NameRoundTrips(std::string_view name) {
    const std::string_view plain = formats::TrimSpaces(name);
    const std::string enciphered = cipher_.EncryptString(plain, GetKey());
    return !plain.empty() && plain.size() <= kNameLength && enciphered.front() != ' ' &&
           enciphered.back() != ' ';
}

std::optional<std::string> cls_RCFile::Create_File() {
    std::vector<std::pair<std::string, formats::Bytes>> files;
    for (const auto& path : files_) {
        auto content = formats::ReadFileBytes(path);
        if (!content) return "Cannot read " + path.string();
        if (!NameRoundTrips(path.filename().string()))
            return "The name would not read back from the archive: " + path.filename().string();
        files.emplace_back(path.filename().string(), std::move(*content));
    }
    const auto archive = BuildArchive(files);
    if (!archive) return "Cannot pack the files (a file is larger than 2 GB)";
    if (!formats::WriteFileReplacing(ArchivePath, *archive))
        return "Cannot write " + ArchivePath.string();
    return std::nullopt;
}

std::optional<std::string> cls_RCFile::Extract(const std::filesystem::path& folder) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(ArchivePath, ec);
    std::ifstream in(ArchivePath, std::ios::binary);
    const auto entries = (ec || !in) ? refuse(ArchiveError::kUnreadable) : ReadEntries(in, size);
    if (!entries) return "Cannot read the archive " + ArchivePath.string();

    for (std::size_t i = 1; i < entries->size(); ++i) {
        const std::string name = trimmed((*entries)[i].Name);
        if (!IsSafeArchiveEntryName(name)) return "Unsafe entry name in " + ArchivePath.string();
    }
    const std::filesystem::path target = folder.empty() ? AppPaths::ProgramFolder() : folder;
    for (std::size_t i = 1; i < entries->size(); ++i) {
        const auto path = target / trimmed((*entries)[i].Name);
        if (!formats::WriteFileReplacing(path, (*entries)[i].Data))
            return "Cannot write " + path.string();
    }
    return std::nullopt;
}
