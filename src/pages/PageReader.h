#pragma once

#include <QFont>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pages/PageRefusals.h"
#include "pages/PageTrial.h"
#include "pages/PageTrialRequest.h"

class QMimeData;
class QTextEdit;

namespace platform {
struct PictureFiles;
}

// The one road of every page into a rich-text box (a note loaded, pasted, dropped or saved, a
// document's page, a page the data packer packs): its bytes are judged before Qt parses them;
// a page that is not provably cheap is laid out on trial in a child process first; the parsed
// document's geometry is tamed before anything lays it out.
namespace page_reader {

// A page's document: every resource it names comes from its loader, never from a file Qt
// opens itself; it takes no style sheet from outside.
class PageDocument : public QTextDocument {
public:
    using PictureLoader = std::function<QVariant(const QUrl&)>;

    explicit PageDocument(PictureLoader pictures, QObject* parent = nullptr);

    // What the page's picture names are relative to. Not the document's base URL: Qt resolves
    // that against every name at every look-up, and a data: URL of megabytes is copied and
    // searched each time a line that shows it is laid out or painted.
    void SetPictureBase(QUrl base) { pictureBase_ = std::move(base); }
    [[nodiscard]] const QUrl& PictureBase() const { return pictureBase_; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    PictureLoader pictures_;
    QUrl pictureBase_;
};

// Far above any picture of a note or a shipped document.
inline constexpr std::uint64_t kLargestPicture = std::uint64_t{16} << 20;

// Where a box's pictures come from: the same files for the box and for its trial.
struct PictureSource {
    page_trial::PictureRule rule = page_trial::PictureRule::kAnywhere;
    std::filesystem::path folder;
};

[[nodiscard]] platform::PictureFiles FilesOf(const PictureSource& source);

// How a box lays its pages out.
struct PageBox {
    QFont font;
    QTextOption option;
    qreal margin = 4;
    qreal indentWidth = 40;
    bool designMetrics = false;
    QUrl baseUrl;
    std::vector<int> widths;  // with and without the vertical scroll bar
    int dpiX = 96;
    int dpiY = 96;
    PictureSource pictures;
};

// How `box` lays out a page of `margin` (its current document's settings otherwise), at its
// width now and at the narrowest its minimum width lets it take.
[[nodiscard]] PageBox BoxOf(const QTextEdit& box, PictureSource pictures, qreal margin);
[[nodiscard]] PageBox BoxOf(const QTextEdit& box, PictureSource pictures);

// Pages up to this size are shown without a trial when they hold no table, frame or picture:
// see the worst case in PageReader.cpp.
inline constexpr std::size_t kUntriedPageBytes = 256;

struct ReadPage {
    std::unique_ptr<PageDocument> document;         // nullptr when refused, or for plain text
    std::optional<page_refusals::Refusal> refusal;  // why, to be worded for the user
    std::optional<QString> plainText;  // a paste of plain text, to take the caret's format
};

// Reads a page (Windows-1252) for the box, tried within the budget of its standing.
[[nodiscard]] ReadPage ReadHtml(const std::string& page, const PageBox& box,
                                PageDocument::PictureLoader pictures,
                                page_trial::Standing standing);

// Whether the box would show a page (Windows-1252), without keeping it: nullopt, or why not.
[[nodiscard]] std::optional<page_refusals::Refusal> JudgePage(const std::string& page,
                                                              const PageBox& box,
                                                              page_trial::Standing standing);

// What a paste or a drop brings, in the format Qt's editor would read from it (Markdown when
// offered first, Qt's own rich text, HTML, then text, which holds dropped addresses): its
// rich text as a document of its own with its geometry tamed, its plain text, or why it
// cannot come in, held to the budget of what comes in. It is not judged together with the page
// it joins: the caller judges the page they would make together.
[[nodiscard]] ReadPage ReadPasted(const QMimeData& source, const PageBox& box,
                                  PageDocument::PictureLoader pictures);

// What lays a page out on trial: page_trial::TryPage, unless replaced (tests watch it). Returns
// the one that was installed; an empty one brings TryPage back.
using Trial = std::function<std::optional<page_refusals::Refusal>(const page_trial::TrialRequest&,
                                                                  page_trial::Standing)>;
Trial SetTrial(Trial trial);

// Puts the document into the box, which owns it from now on; the box's previous document is
// deleted.
void ShowDocument(QTextEdit& box, std::unique_ptr<PageDocument> document);

// The parsed page, as both the box and its trial read it: the box's settings, geometry tamed.
[[nodiscard]] std::unique_ptr<PageDocument> ParsePage(const QString& html, const PageBox& box,
                                                      PageDocument::PictureLoader pictures);

// What the child is asked to lay out for the box.
[[nodiscard]] page_trial::TrialRequest RequestFor(const std::string& page, const PageBox& box);

// The box's settings as a trial request carries them.
[[nodiscard]] PageBox BoxOf(const page_trial::TrialRequest& request);

}  // namespace page_reader
