#include "core/mod_System.h"

#include <fstream>

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
// engine.tmp (left by an interrupted start) is overwritten, then deleted.
void scrubEngineTmp() {
    const auto path = AppPaths::EngineTmp();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return;
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        const std::string ones(static_cast<std::size_t>(size), '\x01');
        file.write(ones.data(), static_cast<std::streamsize>(ones.size()));
    }
    std::filesystem::remove(path, ec);
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

std::string criticalMessage(const std::filesystem::path& filePath) {
    return "Critical Error!\r\n\r\nMissing or Invalid file : " + filePath.string() +
           "\r\n\r\nIf the problem persists, please email us at " + SystemVars.SupportEmail +
           "\r\n\r\nThe program will now exit.";
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
    if (SignatureFooter.CheckText.empty()) return false;
    return DataCipher.DecryptString(SignatureFooter.CheckText, DataKey) ==
               signedText(SignatureHeader) &&
           SignatureHeader.ProductCode == SystemVars.ProductCode;
}

void VerifyFileSignature(const std::filesystem::path& filePath) {
    if (!IsFileSignatureValid()) ShowCriticalError(filePath);
}

void ShowCriticalError(const std::filesystem::path& filePath) {
    AbortFlag = true;
    if (filePath != AppPaths::SystemDat() && filePath != AppPaths::DataDat() &&
        mod_Helper::FileExists(filePath)) {
        std::error_code ec;
        std::filesystem::remove(filePath, ec);
    }
    platform::MsgBox(criticalMessage(filePath), platform::kCritical, "Critical Error!");
}

void ShowWriteFailure(const std::filesystem::path& filePath, WriteFailure failure) {
    if (failure == WriteFailure::kStopProgram) {
        AbortFlag = true;
        platform::MsgBox(criticalMessage(filePath), platform::kCritical, "Critical Error!");
        return;
    }
    platform::MsgBox("Critical Error!\r\n\r\nThe file could not be written : " + filePath.string() +
                         "\r\n\r\nIf the problem persists, please email us at " +
                         SystemVars.SupportEmail,
                     platform::kCritical, "Critical Error!");
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
                    const std::function<void(formats::BinaryReader&)>& readBody) {
    SignatureHeader = {};
    SignatureFooter = {};
    const auto bytes = formats::ReadFileBytes(filePath);
    if (!bytes) return false;
    formats::BinaryReader in(*bytes);
    SignatureHeader = readSignature(in);
    readBody(in);
    SignatureFooter = readSignature(in);
    return !in.failed();
}

}  // namespace mod_System
