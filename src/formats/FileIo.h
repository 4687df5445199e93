#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <system_error>

#include "formats/Bytes.h"

namespace formats {

// Why a file could not be read.
enum class FileReadError {
    kNone,
    kMissing,     // nothing of that name
    kNotAFile,    // a folder or another non-regular entry is in the way
    kTooLarge,    // larger than the caller's largest valid size; never read
    kReadFailed,  // it could not be opened or read
};

inline constexpr std::uint64_t kNoSizeLimit = std::numeric_limits<std::uint64_t>::max();

// The whole content of a regular file of at most `maxBytes` bytes; nullopt (with the reason
// in `why` and the system's own in `cause` when given) otherwise.
std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path,
                                   std::uint64_t maxBytes = kNoSizeLimit,
                                   FileReadError* why = nullptr, std::error_code* cause = nullptr);

// Why a replacing write failed; the old file is intact in every case but a cache's.
enum class FileWriteError {
    kNone,
    kNoFolder,     // the folder could not be created
    kNoTemporary,  // no temporary file could be created beside the target
    kWriteFailed,  // writing or flushing stopped short (disk full, file-size limit)
    kNotReplaced,  // the temporary file could not be renamed over the target (a cache: what
                   // had its name could not be removed, or the file not made)
};

// Whether a write is flushed to disk. Only a cache, a file the program rebuilds whenever it
// needs it, is written unflushed: in place when the regular file of that name has no other
// name, else made anew; a crash or a failed write can leave it cut short.
enum class Flush : bool { kToDisk, kNone };

// Replaces the file's content without ever losing the old file: the bytes go to a
// temporary file in the same folder, are flushed to disk, and the temporary file is renamed
// over the target. A replaced regular file keeps its permission bits; a new file gets those
// the umask leaves of 0666. A link at the target is replaced, never followed. Missing parent
// folders are created. On failure the old file is untouched (a cache's content aside), the
// temporary file removed, and false returned (the reason in `why`, the system's own, such as
// no space left, in `cause`).
[[nodiscard]] bool WriteFileReplacing(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> bytes,
                                      FileWriteError* why = nullptr,
                                      std::error_code* cause = nullptr,
                                      Flush flush = Flush::kToDisk);

// A replacing write held back before its rename, so that several files can all change or
// none: the bytes wait, flushed to disk, in a temporary file beside the target until
// Replace() renames it over the target. One never replaced is removed with this object.
class PendingReplacement {
public:
    PendingReplacement(const PendingReplacement&) = delete;
    PendingReplacement& operator=(const PendingReplacement&) = delete;
    PendingReplacement(PendingReplacement&& other) noexcept;
    PendingReplacement& operator=(PendingReplacement&&) = delete;
    ~PendingReplacement();

    // The rename; on failure the old file is untouched and the temporary file removed.
    [[nodiscard]] bool Replace(FileWriteError* why = nullptr, std::error_code* cause = nullptr);

private:
    friend std::optional<PendingReplacement> WriteFilePending(const std::filesystem::path&,
                                                              std::span<const std::uint8_t>,
                                                              FileWriteError*, std::error_code*);
    PendingReplacement(std::filesystem::path target, std::string temporary);

    std::filesystem::path target_;
    std::string temporary_;  // empty once renamed
};

// WriteFileReplacing up to its rename. A folder standing at the target is refused here
// (kNotReplaced), as no rename could replace it, so that Replace() fails only on a change
// made since.
[[nodiscard]] std::optional<PendingReplacement> WriteFilePending(
    const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
    FileWriteError* why = nullptr, std::error_code* cause = nullptr);

}  // namespace formats
