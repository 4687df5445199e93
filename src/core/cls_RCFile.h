#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cls_Crypt_RC4.h"
#include "formats/Bytes.h"

// One entry of a packed archive: the deciphered name space-padded to 100 characters,
// Size = number of data bytes minus one, and the deciphered data.
struct ArchiveEntry {
    std::string Name;
    std::int32_t Size = 0;
    formats::Bytes Data;
};

// Filled by cls_RCFile::ExtractData: entry 0 is never filled, 1..N are the archive's
// entries in file order. Readers take what they need and clear it.
inline std::vector<ArchiveEntry> ArchiveEntries;

// Why the last archive read was refused.
enum class ArchiveError {
    kNone,
    kTooShort,         // not even the entry count and total
    kCountBeyondData,  // a negative entry count, or more entries than the bytes can hold
    kEntryBeyondData,  // an entry's size reaches past the end of the archive
    kUnreadable,       // the stream could not be read
};

// The packed-archive container: names and data blocks RC4-enciphered under a fixed key.
class cls_RCFile {
public:
    static constexpr std::size_t kNameLength = 100;

    std::filesystem::path ArchivePath;

    [[nodiscard]] std::int32_t File_Count() const;
    // Element 0 empty, then the listed paths in order.
    [[nodiscard]] std::vector<std::filesystem::path> Get_Files() const;
    void Add_File(const std::filesystem::path& path);
    void Remove_File(std::int32_t index);  // from 1

    // Writes an archive of the listed files to ArchivePath; the error text on failure.
    std::optional<std::string> Create_File();
    // Unpacks ArchivePath into `folder` (the program folder when empty). The archive is
    // refused whole when any entry name is not a plain file name.
    std::optional<std::string> Extract(const std::filesystem::path& folder = {});
    // Reads the archive into ArchiveEntries; a read failure sets AbortFlag (LastError() says
    // why).
    void ExtractData(const std::filesystem::path& archivePath);

    // The entries of an archive held in a stream of `size` bytes (index 0 unused);
    // nullopt when the archive is damaged. No count drives an allocation beyond `size`.
    std::optional<std::vector<ArchiveEntry>> ReadEntries(std::istream& in, std::uint64_t size);
    [[nodiscard]] ArchiveError LastError() const { return error_; }
    // The archive bytes of (name, file content) pairs, each data block with its trailing
    // 0; nullopt when a name would not read back (see NameRoundTrips) or a file is too big.
    std::optional<formats::Bytes> BuildArchive(
        const std::vector<std::pair<std::string, formats::Bytes>>& files);

    // Whether a name reads back as packed: the reader strips spaces around the
    // enciphered name, so an enciphered form beginning or ending with one is lost.
    [[nodiscard]] bool NameRoundTrips(std::string_view name);

private:
    static std::string GetKey() { return "kwt-5083"; }

    std::optional<std::vector<ArchiveEntry>> refuse(ArchiveError reason) {
        error_ = reason;
        return std::nullopt;
    }

    std::vector<std::filesystem::path> files_;
    cls_Crypt_RC4 cipher_;
    ArchiveError error_ = ArchiveError::kNone;
};

// A name an archive may unpack to: not empty, no separator, not "." or "..", no NUL.
bool IsSafeArchiveEntryName(std::string_view name);
