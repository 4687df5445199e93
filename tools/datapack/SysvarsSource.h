#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "SourceText.h"
#include "core/SystemVars.h"

namespace datapack {

// The readable source of sysvars.dat: one "Member = text" or "Member(index) = text" line
// for every member and element, in any order. A value in double quotes keeps its spaces;
// "\n" is a line break (CR LF) and "\\" a backslash.
struct SysvarsParse {
    SystemVarsRecord record;
    std::vector<SourceError> errors;
};
SysvarsParse parseSysvarsSource(const std::vector<std::string>& lines, const std::string& file);

// Every label the source must define, in file order.
std::vector<std::string> sysvarsLabels();

}  // namespace datapack
