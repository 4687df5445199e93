#pragma once

#include <string>

// Header and footer of every signed data file.
struct FileSignature {
    std::string FilePath;
    std::string ProductCode;
    std::string ExtraText;
    std::string CheckText;
};

// The one pair every writer fills and every reader checks, one file at a time.
inline FileSignature SignatureHeader;
inline FileSignature SignatureFooter;
