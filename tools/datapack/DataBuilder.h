#pragma once

#include <filesystem>
#include <string>

#include "DocumentBuilder.h"

namespace datapack {

// Builds Data/System.dat and Data/Data.dat from a source folder:
//   system/sysvars.txt     the interface texts (see SysvarsSource.h)
//   images/                the interface images (*.gif, *.jpg)
//   bank/questions.txt     the questions (see QuestionSource.h)
//   bank/pictures/         the questions' pictures
//   resources/NAME/        optional: each folder becomes the document Resources/NAME.dat
// Every file is replaced or none. Returns false with the reasons in `report`; on success
// `report` summarises the build.
bool buildDataFolder(const std::filesystem::path& source, const std::filesystem::path& data,
                     std::string& report, const PageCheck& checkPage);

// A resource document for the product of a built data folder (see buildDocument).
bool buildDocumentForDataFolder(const std::filesystem::path& data,
                                const std::filesystem::path& folder,
                                const std::filesystem::path& container, std::string& report,
                                const PageCheck& checkPage);

// Product, key, question count, objectives and practice codes of a built data folder.
bool describeDataFolder(const std::filesystem::path& data, std::string& report);

}  // namespace datapack
