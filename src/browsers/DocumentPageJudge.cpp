#include "browsers/DocumentPageJudge.h"

#include <QTextBrowser>

#include "browsers/ResourceDocument.h"
#include "pages/PageReader.h"

namespace mod_Viewer {

std::optional<std::string> JudgeDocumentPage(const std::string& page,
                                             const std::filesystem::path& folder) {
    QTextBrowser box;
    box.resize(kNarrowestWindow, kNarrowestWindow);
    return page_reader::JudgePage(
        PageWithFolder(page, folder),
        page_reader::BoxOf(box, {page_trial::PictureRule::kInsideFolder, folder}, kPageMargin));
}

}  // namespace mod_Viewer
