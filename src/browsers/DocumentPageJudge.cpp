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
    // What the packer packs comes in: held to the strict budget, so that the viewer, which
    // holds the shipped document to the wider one, always shows it.
    const auto refusal = page_reader::JudgePage(
        PageWithFolder(page, folder),
        page_reader::BoxOf(box, {page_trial::PictureRule::kInsideFolder, folder}, kPageMargin),
        page_trial::Standing::kComingIn);
    if (!refusal) return std::nullopt;
    return page_refusals::Reason(*refusal, page_refusals::Subject::kDocumentPage);
}

}  // namespace mod_Viewer
