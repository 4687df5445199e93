#include "browsers/DocumentPageJudge.h"

#include <QTextBrowser>

#include "browsers/ResourceDocument.h"
#include "pages/PageReader.h"
#include "pages/PageRefusals.h"

namespace mod_Viewer {

std::optional<std::string> JudgeDocumentPage(const std::string& page,
                                             const std::filesystem::path& folder) {
    QTextBrowser box;
    box.resize(kNarrowestWindow, kNarrowestWindow);
    const auto refusal = page_reader::JudgePage(
        PageWithFolder(page, folder),
        page_reader::BoxOf(box, {page_trial::PictureRule::kInsideFolder, folder}, kPageMargin));
    if (!refusal) return std::nullopt;
    return page_refusals::Reason(*refusal, page_refusals::Subject::kDocumentPage);
}

}  // namespace mod_Viewer
