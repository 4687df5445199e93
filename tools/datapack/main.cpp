#include <QApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ArchiveCommands.h"
#include "DataBuilder.h"
#include "browsers/DocumentPageJudge.h"
#include "pages/PageTrial.h"

namespace {

void printUsage() {
    std::cerr << "usage:\n"
                 "  datapack pack ARCHIVE FILE...     pack files into an archive\n"
                 "  datapack list ARCHIVE             one line per entry: name, data size\n"
                 "  datapack unpack ARCHIVE FOLDER    unpack an archive into a folder\n"
                 "  datapack build SOURCE DATA        build System.dat and Data.dat from sources\n"
                 "  datapack document DATA FOLDER CONTAINER\n"
                 "                                    pack a resource document for DATA's product\n"
                 "  datapack info DATA                describe a built data folder\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "pack") return datapack::packArchive(args);
    if (command == "list") return datapack::listArchive(args);
    if (command == "unpack") return datapack::unpackArchive(args);
    // A page is judged the way the viewer shows it, which needs Qt's text layout but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication qt(argc, argv);
    page_trial::SetChildProgram(EXAMSIM_PAGE_TRIAL_CHILD);
    const datapack::PageCheck viewerWouldShow = mod_Viewer::JudgeDocumentPage;
    if ((command == "build" && args.size() == 2) || (command == "info" && args.size() == 1)) {
        std::string report;
        const bool ok = command == "build"
                            ? datapack::buildDataFolder(args[0], args[1], report, viewerWouldShow)
                            : datapack::describeDataFolder(args[0], report);
        (ok ? std::cout : std::cerr) << report;
        return ok ? 0 : 1;
    }
    if (command == "document" && args.size() == 3) {
        std::string report;
        const bool ok = datapack::buildDocumentForDataFolder(args[0], args[1], args[2], report,
                                                             viewerWouldShow);
        std::cerr << report;
        return ok ? 0 : 1;
    }
    printUsage();
    return 2;
}
