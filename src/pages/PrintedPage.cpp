#include "pages/PrintedPage.h"

#include <optional>
#include <utility>

#include "pages/PageRefusals.h"

namespace page_reader {

platform::PrintJudge PrintJudgeOf(std::function<std::string()> page, PageBox box) {
    return [page = std::move(page), box = std::move(box)](const platform::PrintLayout& layout) {
        PageBox printed = box;
        printed.widths = {layout.width};
        printed.dpiX = layout.dpiX;
        printed.dpiY = layout.dpiY;
        printed.margin = layout.margin;
        // What the user has is printed: held to its own limit.
        const auto refusal = JudgePage(page(), printed, page_trial::Standing::kAlreadyHeld);
        return refusal
                   ? std::optional(page_refusals::Reason(*refusal, page_refusals::Subject::kPage))
                   : std::nullopt;
    };
}

}  // namespace page_reader
