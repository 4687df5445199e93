#include "core/PageReader.h"

#include <QMimeData>
#include <QTextEdit>
#include <QTextOption>
#include <QUrl>

#include <utility>

#include "core/PageJudge.h"
#include "core/PageLayoutJudge.h"
#include "platform/PagePictures.h"
#include "platform/TextCodec.h"

namespace page_reader {

namespace {

std::unique_ptr<PageDocument> emptyLike(const QTextDocument& like,
                                        PageDocument::PictureLoader pictures) {
    auto document = std::make_unique<PageDocument>(std::move(pictures));
    document->setDefaultFont(like.defaultFont());
    document->setDefaultTextOption(like.defaultTextOption());
    document->setDocumentMargin(like.documentMargin());
    document->setIndentWidth(like.indentWidth());
    document->setBaseUrl(like.baseUrl());
    document->setUseDesignMetrics(like.useDesignMetrics());
    return document;
}

// Parses, then judges what layout would cost with `alongside` already shown.
ReadPage parsed(const QString& html, const QTextDocument& like,
                PageDocument::PictureLoader pictures, const layout_judge::PageCost& alongside) {
    ReadPage read{emptyLike(like, std::move(pictures)), std::nullopt};
    read.document->setHtml(html);
    layout_judge::TameGeometry(*read.document);
    layout_judge::PageCost cost = layout_judge::MeasurePage(*read.document);
    cost += alongside;
    read.refusal = layout_judge::JudgeCost(cost);
    if (read.refusal) read.document.reset();
    return read;
}

}  // namespace

PageDocument::PageDocument(PictureLoader pictures, QObject* parent)
    : QTextDocument(parent), pictures_(std::move(pictures)) {}

QVariant PageDocument::loadResource(int type, const QUrl& name) {
    // Not an empty answer: Qt would then open the name as a file itself.
    const QVariant loaded = type == QTextDocument::ImageResource ? pictures_(name) : QString();
    // Kept with the page: layout asks for a picture again and again, and a data: URL would be
    // decoded each time.
    addResource(type, name, loaded);
    return loaded;
}

ReadPage ReadHtml(const std::string& page, const QTextDocument& like,
                  PageDocument::PictureLoader pictures) {
    if (auto refusal = page_judge::JudgePage(page)) return {nullptr, std::move(refusal)};
    return parsed(platform::toQt(page), like, std::move(pictures), {});
}

ReadPage ReadPasted(const QMimeData& source, const QTextDocument& shown,
                    PageDocument::PictureLoader pictures) {
    const QString html = source.html();
    if (auto refusal = page_judge::JudgePage(platform::fromQtHtml(html)))
        return {nullptr, std::move(refusal)};
    return parsed(html, shown, std::move(pictures), layout_judge::MeasurePage(shown));
}

std::optional<std::string> JudgePastedText(const QString& text, const QTextDocument& shown) {
    QTextDocument pasted;
    pasted.setDefaultFont(shown.defaultFont());
    pasted.setPlainText(text);
    layout_judge::PageCost cost = layout_judge::MeasurePage(pasted);
    cost += layout_judge::MeasurePage(shown);
    return layout_judge::JudgeCost(cost);
}

std::optional<std::string> JudgeForShowing(const std::string& page) {
    const QTextDocument like;
    return ReadHtml(page, like, [](const QUrl&) { return QVariant(platform::MissingPicture()); })
        .refusal;
}

std::optional<std::string> JudgeShown(const QTextDocument& document) {
    return layout_judge::JudgeCost(layout_judge::MeasurePage(document));
}

void ShowDocument(QTextEdit& box, std::unique_ptr<PageDocument> document) {
    // The box deletes only the document it made itself; one of ours is deleted here.
    QTextDocument* const previous = box.document();
    const std::unique_ptr<QTextDocument> ours(previous->parent() == &box ? previous : nullptr);
    document->setParent(&box);
    box.setDocument(document.release());
}

}  // namespace page_reader
