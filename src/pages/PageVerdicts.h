#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/PageTrial.h"

// The verdicts of trials: those of this run, and the acceptances of the pages the program
// itself wrote, kept in a file of their own for the next runs. A verdict is found by a digest
// of the whole request, and holds while every picture file and name its trial looked for is as
// it was then.
namespace page_verdicts {

// A picture file, or a name a trial looked for, as it was then. The change time is the
// kernel's own: a rewrite in place that restores size and modification time still moves it.
struct FileState {
    std::string path;       // the file system's own bytes
    bool followed = false;  // the file past every link; otherwise the name itself
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanos = 0;
    std::int64_t changedNanos = 0;

    bool operator==(const FileState&) const = default;
};

[[nodiscard]] FileState StateOf(std::string path, bool followed);

using Digest = std::array<std::uint8_t, 32>;

// SHA-256 of an encoded request: a verdict cannot be borrowed by another request.
[[nodiscard]] Digest DigestOf(std::string_view encodedRequest);

struct Verdict {
    std::optional<page_refusals::Refusal> refusal;
    std::vector<FileState> pictures;
};

// The verdict kept for the request, when every picture state it holds is unchanged.
[[nodiscard]] std::optional<Verdict> Find(const Digest& request);

// Keeps a verdict for this run; an acceptance of a page the program writes is also kept in the
// verdict file.
void Keep(const Digest& request, Verdict verdict, bool written);

// Forgets this run's verdicts; the verdict file is read again, as by the next run.
void Forget();

// The verdict file: beside the other user files, never in the notes folder, so that a copied
// notes folder brings no verdict with it.
[[nodiscard]] std::filesystem::path VerdictFile();

// How many verdicts the file keeps, the oldest going first.
inline constexpr std::size_t kKeptOnDisk = 512;
// A verdict naming more pictures than this is kept for the run only.
inline constexpr std::size_t kPicturesOnDisk = 64;

}  // namespace page_verdicts
