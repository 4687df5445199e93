#pragma once

#include <cmath>

namespace formats {

// Dates are stored as OLE Automation dates: days since 1899-12-30. Only years 100 to 9999
// can be shown; anything else read from a file (NaN and infinities included) is damage.
inline constexpr double kFirstOleDate = -657434.0;  // 0100-01-01
inline constexpr double kEndOleDate = 2958466.0;    // 10000-01-01

inline bool IsShowableOleDate(double date) {
    return std::isfinite(date) && date >= kFirstOleDate && date < kEndOleDate;
}

}  // namespace formats
