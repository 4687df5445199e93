// The performance history index, through both of its readers, and the dates it shows.
#include "FuzzSupport.h"
#include "core/AbortFlag.h"
#include "evaluation/mod_Evaluate.h"
#include "evaluation/mod_Performance.h"
#include "platform/DateText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::PrepareProgram();
    mod_Performance::InitPerformancePaths();
    fuzzsupport::WriteInput(mod_Performance::PerformanceIndexPath, data, size);
    if (const auto records = mod_Evaluate::ReadIndexForSummary()) {
        for (const PerformanceSummary& record : *records) {
            platform::GeneralDateText(record.ExamDate);
            platform::ShortDateTimeText(record.SavedAt);
        }
    }
    AbortFlag = false;
    mod_Performance::ReadPerformanceIndex();
    return 0;
}
