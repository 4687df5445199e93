#pragma once

#include <QTextDocument>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QMimeData;
class QTextEdit;
class QUrl;

// The one road of every page into a rich-text box (a note loaded or pasted, a document's
// page, a page the data packer packs): its bytes are judged before Qt parses them, the parsed
// document is measured and its geometry tamed before anything lays it out.
namespace page_reader {

// A page's document: every resource it names comes from its loader, never from a file Qt
// opens itself; it takes no style sheet from outside.
class PageDocument : public QTextDocument {
public:
    using PictureLoader = std::function<QVariant(const QUrl&)>;

    explicit PageDocument(PictureLoader pictures, QObject* parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    PictureLoader pictures_;
};

struct ReadPage {
    std::unique_ptr<PageDocument> document;  // nullptr when refused
    std::optional<std::string> refusal;      // why, a sentence the user reads (Windows-1252)
};

// Reads a page (Windows-1252) for a box whose document is `like`: its font, text options, base
// URL and margins carry over.
[[nodiscard]] ReadPage ReadHtml(const std::string& page, const QTextDocument& like,
                                PageDocument::PictureLoader pictures);

// What a paste or a drop would bring into `shown`: the rich text when it fits beside what is
// there, otherwise the reason.
[[nodiscard]] ReadPage ReadPasted(const QMimeData& source, const QTextDocument& shown,
                                  PageDocument::PictureLoader pictures);

// The plain text of a paste, when it fits beside what `shown` holds; otherwise why not.
[[nodiscard]] std::optional<std::string> JudgePastedText(const QString& text,
                                                         const QTextDocument& shown);

// Whether a page (Windows-1252) would be shown, without showing it: nullopt, or why not.
[[nodiscard]] std::optional<std::string> JudgeForShowing(const std::string& page);

// Whether the document as shown may be kept: it would read back as it is.
[[nodiscard]] std::optional<std::string> JudgeShown(const QTextDocument& document);

// Puts the document into the box, which owns it from now on; the box's previous document is
// deleted.
void ShowDocument(QTextEdit& box, std::unique_ptr<PageDocument> document);

}  // namespace page_reader
