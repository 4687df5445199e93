#include "pages/PageVerdicts.h"

#include <sys/stat.h>

#include <QCryptographicHash>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <span>
#include <utility>

#include "core/AppPaths.h"
#include "formats/FileIo.h"
#include "pages/TrialFields.h"

namespace page_verdicts {

namespace {

using page_trial::FieldReader;
using page_trial::FieldWriter;

constexpr std::size_t kKeptInMemory = 64;
constexpr std::string_view kFileMark = "page-verdicts 1\n";
// Far above kKeptOnDisk verdicts of kPicturesOnDisk states with paths of ordinary length; a
// larger file is no file of ours.
constexpr std::size_t kLargestFile = std::size_t{8} << 20;
constexpr std::size_t kLongestPath = 4096;

struct Written {
    Digest request{};
    std::vector<FileState> pictures;
};

struct Kept {
    std::map<Digest, Verdict> byRequest;
    std::deque<Digest> order;
    std::optional<std::vector<Written>> written;  // read from the file when first needed
};

Kept& kept() {
    static Kept verdicts;
    return verdicts;
}

std::int64_t nanosOf(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

bool unchanged(const std::vector<FileState>& pictures) {
    return std::all_of(pictures.begin(), pictures.end(), [](const FileState& picture) {
        return StateOf(picture.path, picture.followed) == picture;
    });
}

void add(FieldWriter& writer, const FileState& state) {
    writer.Add(state.path)
        .Number(static_cast<int>(state.followed))
        .Number(static_cast<int>(state.exists))
        .Number(state.device)
        .Number(state.inode)
        .Number(state.size)
        .Number(state.modifiedNanos)
        .Number(state.changedNanos);
}

std::optional<FileState> read(FieldReader& reader) {
    FileState state;
    state.path = reader.Field();
    state.followed = reader.Read<int>() != 0;
    state.exists = reader.Read<int>() != 0;
    state.device = reader.Read<std::uint64_t>();
    state.inode = reader.Read<std::uint64_t>();
    state.size = reader.Read<std::uint64_t>();
    state.modifiedNanos = reader.Read<std::int64_t>();
    state.changedNanos = reader.Read<std::int64_t>();
    if (!reader.Ok() || state.path.size() > kLongestPath) return std::nullopt;
    return state;
}

std::string encoded(const std::vector<Written>& entries) {
    FieldWriter writer(kFileMark);
    writer.Number(entries.size());
    for (const Written& entry : entries) {
        writer
            .Add(std::string_view(reinterpret_cast<const char*>(entry.request.data()),
                                  entry.request.size()))
            .Number(entry.pictures.size());
        for (const FileState& state : entry.pictures)
            add(writer, state);
    }
    return std::move(writer).Bytes();
}

// The file's verdicts; none when it is missing, damaged or out of bounds: it is only a cache of
// trials, which are run again.
std::vector<Written> decoded(std::string_view bytes) {
    FieldReader reader(bytes, kFileMark);
    const auto count = reader.Read<std::size_t>();
    if (!reader.Ok() || count > kKeptOnDisk) return {};
    std::vector<Written> entries;
    for (std::size_t k = 0; k < count; ++k) {
        Written entry;
        const std::string_view digest = reader.Field();
        const auto pictures = reader.Read<std::size_t>();
        if (!reader.Ok() || digest.size() != entry.request.size() || pictures > kPicturesOnDisk)
            return {};
        std::memcpy(entry.request.data(), digest.data(), digest.size());
        for (std::size_t p = 0; p < pictures; ++p) {
            auto state = read(reader);
            if (!state) return {};
            entry.pictures.push_back(std::move(*state));
        }
        entries.push_back(std::move(entry));
    }
    if (!reader.Done()) return {};
    return entries;
}

std::vector<Written>& written() {
    auto& entries = kept().written;
    if (!entries) {
        const auto bytes = formats::ReadFileBytes(VerdictFile(), kLargestFile);
        entries = bytes ? decoded(std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                                   bytes->size()))
                        : std::vector<Written>();
    }
    return *entries;
}

void keepWritten(const Digest& request, const std::vector<FileState>& pictures) {
    if (pictures.size() > kPicturesOnDisk) return;
    std::vector<Written>& entries = written();
    std::erase_if(entries, [&](const Written& entry) { return entry.request == request; });
    if (entries.size() >= kKeptOnDisk)
        entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(
                                                             entries.size() - kKeptOnDisk + 1));
    entries.push_back({request, pictures});
    const std::string bytes = encoded(entries);
    // A cache: a verdict lost, or a file cut short and ignored, costs the next run a trial.
    (void)formats::WriteFileReplacing(
        VerdictFile(), std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        nullptr, nullptr, formats::Flush::kNone);
}

}  // namespace

FileState StateOf(std::string path, bool followed) {
    FileState state;
    struct stat info {};
    const int looked = followed ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    state.path = std::move(path);
    state.followed = followed;
    if (looked != 0) return state;
    state.exists = true;
    state.device = info.st_dev;
    state.inode = info.st_ino;
    state.size = static_cast<std::uint64_t>(info.st_size);
    state.modifiedNanos = nanosOf(info.st_mtim);
    state.changedNanos = nanosOf(info.st_ctim);
    return state;
}

Digest DigestOf(std::string_view encodedRequest) {
    const QByteArray hash = QCryptographicHash::hash(
        QByteArrayView(encodedRequest.data(), static_cast<qsizetype>(encodedRequest.size())),
        QCryptographicHash::Sha256);
    Digest digest{};
    std::memcpy(digest.data(), hash.constData(), digest.size());
    return digest;
}

std::optional<Verdict> Find(const Digest& request) {
    Kept& verdicts = kept();
    if (const auto found = verdicts.byRequest.find(request);
        found != verdicts.byRequest.end() && unchanged(found->second.pictures))
        return found->second;
    for (const Written& entry : written())
        if (entry.request == request && unchanged(entry.pictures))
            return Verdict{std::nullopt, entry.pictures};
    return std::nullopt;
}

void Keep(const Digest& request, Verdict verdict, bool written) {
    if (written && !verdict.refusal) keepWritten(request, verdict.pictures);
    Kept& verdicts = kept();
    if (verdicts.byRequest.size() >= kKeptInMemory && !verdicts.byRequest.contains(request)) {
        verdicts.byRequest.erase(verdicts.order.front());
        verdicts.order.pop_front();
    }
    if (verdicts.byRequest.insert_or_assign(request, std::move(verdict)).second)
        verdicts.order.push_back(request);
}

void Forget() {
    kept() = Kept();
}

std::filesystem::path VerdictFile() {
    return AppPaths::DataFolder() / "PageVerdicts.dat";
}

}  // namespace page_verdicts
