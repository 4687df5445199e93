#include "core/mod_System.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/ImageStore.h"
#include "core/cls_RCFile.h"
#include "core/mod_GenKey.h"
#include "core/mod_Helper.h"
#include "core/mod_MD5.h"
#include "formats/FileIo.h"
#include "formats/TextRules.h"
#include "formats/Windows1252.h"
#include "platform/MessageBox.h"

namespace mod_System {

namespace {

struct SysvarsReader {
    formats::BinaryReader& in;
    void operator()(std::string_view, std::string& text) const { text = in.readString(); }
    template <class Table>
    void operator()(std::string_view, Table& table) const {
        for (auto& element : table)
            (*this)({}, element);
    }
    void operator()(std::string_view, std::int16_t& value) const { value = in.readInt16(); }
};

struct SysvarsWriter {
    formats::BinaryWriter& out;
    void operator()(std::string_view, const std::string& text) const { out.writeString(text); }
    template <class Table>
    void operator()(std::string_view, const Table& table) const {
        for (const auto& element : table)
            (*this)({}, element);
    }
    void operator()(std::string_view, const std::int16_t& value) const { out.writeInt16(value); }
};

// The plain text of the record must not outlive start-up in the program folder: a stale
// engine.tmp (left by an interrupted start) is overwritten, then deleted. Only a plain
// file of its own is overwritten: never the target of a link, another name of a hard-linked
// file, or anything larger than such a record can be.
void scrubEngineTmp() {
    constexpr off_t kMaxScrubBytes = off_t{4} << 20;
    const auto path = AppPaths::EngineTmp();
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
            info.st_size <= kMaxScrubBytes) {
            const std::string ones(static_cast<std::size_t>(info.st_size), '\x01');
            [[maybe_unused]] const auto written = ::write(fd, ones.data(), ones.size());
        }
        ::close(fd);
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);  // a link goes, its target stays
}

std::string signedText(const FileSignature& header) {
    return header.FilePath + header.ProductCode + header.CheckText + header.ExtraText;
}

void writeSignature(formats::BinaryWriter& out, const FileSignature& signature) {
    out.writeString(signature.FilePath);
    out.writeString(signature.ProductCode);
    out.writeString(signature.ExtraText);
    out.writeString(signature.CheckText);
}

FileSignature readSignature(formats::BinaryReader& in) {
    FileSignature signature;
    signature.FilePath = in.readString();
    signature.ProductCode = in.readString();
    signature.ExtraText = in.readString();
    signature.CheckText = in.readString();
    return signature;
}

SignedFileError lastReadError = SignedFileError::kNone;
formats::ReadError lastBodyError = formats::ReadError::kNone;

SignedFileError signedErrorOf(formats::FileReadError error) {
    switch (error) {
        case formats::FileReadError::kMissing:
            return SignedFileError::kMissing;
        case formats::FileReadError::kNotAFile:
            return SignedFileError::kNotAFile;
        case formats::FileReadError::kTooLarge:
            return SignedFileError::kTooLarge;
        case formats::FileReadError::kNone:
        case formats::FileReadError::kReadFailed:
            break;
    }
    return SignedFileError::kUnreadable;
}

// What the user must know beyond the file's name: a folder in its way (the program cannot
// move that aside), or where the refused file was kept.
std::string whatBecameOf(const std::filesystem::path& filePath,
                         const std::filesystem::path& keptAs) {
    std::error_code ec;
    if (std::filesystem::is_directory(filePath, ec))
        return "\r\n\r\nA folder of that name is in the way: move or rename it.";
    if (!keptAs.empty())
        return "\r\n\r\nThe file was kept as : " + formats::PathToWindows1252(keptAs);
    return {};
}

// Without System.dat (or with an empty address) there is no one to write to.
std::string supportSentence() {
    if (formats::TrimSpaces(SystemVars.SupportEmail).empty()) return {};
    return "\r\n\r\nIf the problem persists, please email us at " + SystemVars.SupportEmail;
}

std::string criticalMessage(const std::filesystem::path& filePath,
                            const std::filesystem::path& keptAs = {}) {
    return "Critical Error!\r\n\r\nMissing or Invalid file : " +
           formats::PathToWindows1252(filePath) + whatBecameOf(filePath, keptAs) +
           supportSentence() + "\r\n\r\nThe program will now exit.";
}

// Renames a refused user file to its set-aside name; "" when there was none to move or the
// rename failed (the file then stays where it was: it is never deleted).
std::filesystem::path setAside(const std::filesystem::path& filePath) {
    if (!mod_Helper::FileExists(filePath)) return {};
    const std::filesystem::path keptAs = SetAsidePath(filePath);
    std::error_code ec;
    std::filesystem::rename(filePath, keptAs, ec);
    return ec ? std::filesystem::path() : keptAs;
}

}  // namespace

SystemVarsRecord ReadSystemVars(std::span<const std::uint8_t> bytes) {
    SystemVarsRecord record;
    formats::BinaryReader in(bytes);
    ForEachSystemVar(record, SysvarsReader{in});
    return record;
}

formats::Bytes WriteSystemVars(const SystemVarsRecord& record) {
    formats::BinaryWriter out;
    ForEachSystemVar(record, SysvarsWriter{out});
    return out.takeBytes();
}

void LoadSystemVars() {
    const auto path = AppPaths::SystemDat();
    std::error_code ec;
    if (!mod_Helper::FileExists(path) || std::filesystem::file_size(path, ec) < 1 || ec) {
        ShowCriticalError(path);
        return;
    }
    cls_RCFile archive;
    archive.ExtractData(path);
    // An unreadable archive is reported like a missing one, never silently.
    if (AbortFlag) return ShowCriticalError(path);

    scrubEngineTmp();
    bool foundRecord = false;
    for (std::size_t i = 1; i < ArchiveEntries.size(); ++i) {
        ArchiveEntry& entry = ArchiveEntries[i];
        const std::string name(formats::TrimSpaces(entry.Name));
        for (std::size_t slot = 0; slot < kImageSlotCount; ++slot) {
            if (!kImageSlotNames[slot].empty() && name == kImageSlotNames[slot])
                ImageStore[slot] = {name, entry.Data};
        }
        // Read from memory: the record never reaches a file in plain text.
        if (name == "sysvars.dat") {
            SystemVars = ReadSystemVars(entry.Data);
            foundRecord = true;
        }
    }
    ArchiveEntries.clear();
    // Without its texts and product code the program cannot check any user file: stop
    // here rather than condemn valid user files as broken.
    if (!foundRecord) ShowCriticalError(path);
}

void MakeFileSignature(std::string_view filePath, std::string_view extraText) {
    SignatureHeader.FilePath = filePath;
    SignatureHeader.ProductCode = SystemVars.ProductCode;
    SignatureHeader.CheckText = mod_MD5::MD5String(mod_GenKey::GenKey(8));
    SignatureHeader.ExtraText = extraText;
    // The footer's other fields stay empty: a damaged file read before must not leak into
    // the next file written.
    SignatureFooter = {};
    SignatureFooter.CheckText = DataCipher.EncryptString(signedText(SignatureHeader), DataKey);
}

bool IsFileSignatureValid() {
    if (SignatureFooter.CheckText.empty())
        lastReadError = SignedFileError::kNoSignature;
    else if (DataCipher.DecryptString(SignatureFooter.CheckText, DataKey) !=
             signedText(SignatureHeader))
        lastReadError = SignedFileError::kBadSignature;
    else if (SignatureHeader.ProductCode != SystemVars.ProductCode)
        lastReadError = SignedFileError::kOtherProduct;
    else
        return true;
    return false;
}

void VerifyFileSignature(const std::filesystem::path& filePath) {
    if (!IsFileSignatureValid()) ShowCriticalError(filePath);
}

void ShowCriticalError(const std::filesystem::path& filePath) {
    AbortFlag = true;
    const bool shipped = filePath == AppPaths::SystemDat() || filePath == AppPaths::DataDat();
    const std::filesystem::path keptAs = shipped ? std::filesystem::path() : setAside(filePath);
    platform::MsgBox(criticalMessage(filePath, keptAs), platform::kCritical, "Critical Error!");
}

std::filesystem::path SetAsidePath(const std::filesystem::path& filePath) {
    std::filesystem::path keptAs = filePath;
    keptAs += ".bad";
    return keptAs;
}

namespace {

WriteFailureReport* activeReport = nullptr;

void showWriteFailureBox(const std::filesystem::path& filePath) {
    platform::MsgBox("Critical Error!\r\n\r\nThe file could not be written : " +
                         formats::PathToWindows1252(filePath) + whatBecameOf(filePath, {}) +
                         supportSentence(),
                     platform::kCritical, "Critical Error!");
}

}  // namespace

void ShowWriteFailure(const std::filesystem::path& filePath, WriteFailure failure) {
    if (failure == WriteFailure::kStopProgram) {
        AbortFlag = true;
        platform::MsgBox(criticalMessage(filePath), platform::kCritical, "Critical Error!");
        return;
    }
    if (activeReport && activeReport->Take(filePath)) return;
    showWriteFailureBox(filePath);
}

WriteFailureReport::WriteFailureReport() : outer_(std::exchange(activeReport, this)) {}

WriteFailureReport::~WriteFailureReport() {
    Report();
    activeReport = outer_;
}

void WriteFailureReport::Report() {
    if (!reported_ && !failed_.empty()) showWriteFailureBox(failed_.front());
    reported_ = true;
}

bool WriteFailureReport::Take(const std::filesystem::path& filePath) {
    const bool known = std::find(failed_.begin(), failed_.end(), filePath) != failed_.end();
    if (reported_ && !known) return false;
    if (!known) failed_.push_back(filePath);
    return true;
}

bool WriteSignedFile(const std::filesystem::path& filePath, std::string_view extraText,
                     const formats::BinaryWriter& body, WriteFailure failure) {
    MakeFileSignature(filePath.string(), extraText);
    formats::BinaryWriter out;
    writeSignature(out, SignatureHeader);
    out.writeBytes(body.bytes());
    writeSignature(out, SignatureFooter);
    if (body.failed() || out.failed() || !formats::WriteFileReplacing(filePath, out.bytes())) {
        ShowWriteFailure(filePath, failure);
        return false;
    }
    return true;
}

bool ReadSignedFile(const std::filesystem::path& filePath,
                    const std::function<void(formats::BinaryReader&)>& readBody,
                    std::uint64_t maxBodyBytes) {
    SignatureHeader = {};
    SignatureFooter = {};
    lastReadError = SignedFileError::kNone;
    lastBodyError = formats::ReadError::kNone;
    formats::FileReadError fileError = formats::FileReadError::kNone;
    const std::uint64_t maxBytes = maxBodyBytes > formats::kNoSizeLimit - kMaxSignatureBytes
                                       ? formats::kNoSizeLimit
                                       : maxBodyBytes + kMaxSignatureBytes;
    const auto bytes = formats::ReadFileBytes(filePath, maxBytes, &fileError);
    if (!bytes) {
        lastReadError = signedErrorOf(fileError);
        return false;
    }
    formats::BinaryReader in(*bytes);
    SignatureHeader = readSignature(in);
    // A body whose counts ask for more than memory holds is a damaged file like any other,
    // never an exception escaping into a window's event.
    try {
        readBody(in);
    } catch (const std::bad_alloc&) {
        in.fail(formats::ReadError::kOutOfMemory);
    } catch (const std::length_error&) {
        in.fail(formats::ReadError::kOutOfMemory);
    }
    SignatureFooter = readSignature(in);
    if (in.failed()) {
        lastReadError = SignedFileError::kBadBody;
        lastBodyError = in.error();
        return false;
    }
    return true;
}

SignedFileError LastSignedFileError() {
    return lastReadError;
}

formats::ReadError LastBodyError() {
    return lastBodyError;
}

}  // namespace mod_System
