#include "ArchiveCommands.h"

#include <fstream>
#include <iostream>

#include "core/cls_RCFile.h"
#include "formats/TextRules.h"

namespace datapack {

int packArchive(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        std::cerr << "usage: datapack pack ARCHIVE FILE...\n";
        return 2;
    }
    cls_RCFile archive;
    archive.ArchivePath = args[0];
    for (std::size_t i = 1; i < args.size(); ++i)
        archive.Add_File(args[i]);
    if (const auto error = archive.Create_File()) {
        std::cerr << "datapack: " << *error << '\n';
        return 1;
    }
    return 0;
}

int listArchive(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::cerr << "usage: datapack list ARCHIVE\n";
        return 2;
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(args[0], ec);
    std::ifstream in(args[0], std::ios::binary);
    const auto entries = (ec || !in) ? std::nullopt : cls_RCFile().ReadEntries(in, size);
    if (!entries) {
        std::cerr << "datapack: cannot read the archive " << args[0] << '\n';
        return 1;
    }
    for (std::size_t i = 1; i < entries->size(); ++i)
        std::cout << formats::TrimSpaces((*entries)[i].Name) << '\t' << (*entries)[i].Data.size()
                  << '\n';
    return 0;
}

int unpackArchive(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::cerr << "usage: datapack unpack ARCHIVE FOLDER\n";
        return 2;
    }
    cls_RCFile archive;
    archive.ArchivePath = args[0];
    if (const auto error = archive.Extract(args[1])) {
        std::cerr << "datapack: " << *error << '\n';
        return 1;
    }
    return 0;
}

}  // namespace datapack
