#include "pages/PageReader.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QStyle>
#include <QTextEdit>
#include <QTextFrame>

#include <algorithm>
#include <utility>

#include "pages/PageGeometry.h"
#include "pages/PageJudge.h"
#include "pages/PagePictures.h"
#include "pages/PageTrial.h"
#include "pages/PictureFiles.h"
#include "platform/TextCodec.h"

namespace page_reader {

// Why a page of at most kUntriedPageBytes with no table, frame or picture needs no trial. The
// byte judge holds it to elements 100 deep, and geometry is tamed before layout: fonts up to
// 500 pt (about 830 px a line), line heights up to 1000 % of that or 1000 px, margins, indents
// and spacing up to 1000 px each.
// - Height: every character and every element makes at most one line, and 256 bytes hold at
//   most 256 of them; even at 256 lines of 8,300 px plus 2,000 px of margins each the page is
//   2.7 million px tall, below the 8.4 million past which Qt's layout never finishes.
// - Time: without tables each character is laid out once: at most 256 of them, on at most 256
//   lines. A style sheet costs its rules times the elements, at most about 50 x 50 here, and a
//   script's costliest clusters fit 40 marks. The costliest such pages measured take 4 ms
//   (BM_UntriedPageWorstCase), against a budget of 500 ms.
// Tables are not bounded by the page's size: a cell spans up to 200,000 columns and tables
// nest ten deep, and 41 bytes of them take seconds. Nor are pictures, which a page may name in
// a few bytes and which decode within their own budget: a page with any is tried.
// All of it at a screen's resolution: a printer's (600 or 1200 dpi) makes every length many
// times longer, and a page laid out for it is always tried.
static_assert(kUntriedPageBytes == 256, "the worst case above is measured at 256 bytes");

namespace {

// Twice a plain screen's: the worst case above stays below 5.4 million px.
constexpr int kUntriedDpi = 192;

// Whether the parsed page's layout is bounded by its size: no table or other frame, and no
// picture, in the text or behind it.
bool boundedBySize(const QTextDocument& document) {
    if (!document.rootFrame()->childFrames().isEmpty()) return false;
    const QList<QTextFormat> formats = document.allFormats();
    return std::none_of(formats.begin(), formats.end(), [](const QTextFormat& format) {
        return format.isImageFormat() || format.hasProperty(QTextFormat::BackgroundImageUrl);
    });
}

Trial& installedTrial() {
    static Trial trial;
    return trial;
}

// The window takes no input while a child lays a page out: the user sees that it is at work.
class WaitCursor {
public:
    WaitCursor() {
        if (qGuiApp) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (qGuiApp) QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::optional<page_refusals::Refusal> tryPage(page_trial::TrialRequest request,
                                              page_trial::Standing standing,
                                              const std::function<void()>& whileLaidOut) {
    const WaitCursor waiting;
    const Trial& trial = installedTrial();
    return trial ? trial(request, standing)
                 : page_trial::TryPage(std::move(request), standing, whileLaidOut);
}

ReadPage refused(std::optional<page_refusals::Refusal> refusal) {
    ReadPage read;
    read.refusal = std::move(refusal);
    return read;
}

ReadPage read(std::unique_ptr<PageDocument> document) {
    ReadPage read;
    read.document = std::move(document);
    return read;
}

QVariant noPicture(const QUrl& /*name*/) {
    return platform::MissingPicture();
}

// Judges the page as the box would read it: nullopt when it may be parsed for the box. When
// `parsed` is given, the page may be parsed for the box already by then.
std::optional<page_refusals::Refusal> judge(const std::string& page, const PageBox& box,
                                            std::unique_ptr<PageDocument>* parsed,
                                            const PageDocument::PictureLoader& pictures,
                                            page_trial::Standing standing) {
    page_refusals::Contents holds;
    if (auto refusal = page_judge::JudgePage(page, &holds)) return refusal;
    if (page.size() <= kUntriedPageBytes && box.dpiX <= kUntriedDpi && box.dpiY <= kUntriedDpi) {
        auto document = ParsePage(platform::toQt(page), box, pictures);
        if (boundedBySize(*document)) {
            if (parsed) *parsed = std::move(document);
            return std::nullopt;
        }
    }
    std::unique_ptr<PageDocument> readMeanwhile;
    const auto read = [&] { readMeanwhile = ParsePage(platform::toQt(page), box, pictures); };
    auto refusal = tryPage(RequestFor(page, box), standing,
                           parsed ? std::function<void()>(read) : std::function<void()>());
    if (refusal) {
        refusal->holds = holds;
    } else if (parsed) {
        *parsed = std::move(readMeanwhile);
    }
    return refusal;
}

}  // namespace

PageDocument::PageDocument(PictureLoader pictures, QObject* parent)
    : QTextDocument(parent), pictures_(std::move(pictures)) {}

QVariant PageDocument::loadResource(int type, const QUrl& name) {
    // Not an empty answer: Qt would then open the name as a file itself.
    const QVariant loaded =
        type == QTextDocument::ImageResource ? pictures_(pictureBase_.resolved(name)) : QString();
    // Kept with the page: layout asks for a picture again and again, and a data: URL would be
    // decoded each time.
    addResource(type, name, loaded);
    return loaded;
}

platform::PictureFiles FilesOf(const PictureSource& source) {
    return source.rule == page_trial::PictureRule::kInsideFolder
               ? platform::FilesInside(source.folder, kLargestPicture)
               : platform::FilesAnywhere(source.folder, kLargestPicture);
}

PageBox BoxOf(const QTextEdit& box, PictureSource pictures, qreal margin) {
    const QTextDocument& shown = *box.document();
    const auto* const page = dynamic_cast<const PageDocument*>(&shown);
    PageBox laidOut{shown.defaultFont(),
                    shown.defaultTextOption(),
                    margin,
                    shown.indentWidth(),
                    shown.useDesignMetrics(),
                    page ? page->PictureBase() : shown.baseUrl(),
                    {},
                    box.logicalDpiX(),
                    box.logicalDpiY(),
                    std::move(pictures)};
    // Laid out without the scroll bar first, then again beside it when the page is taller; at
    // the width the box has now, and at the narrowest its window lets it take, where a page is
    // tallest: a resize then never lays a page out narrower than it was tried.
    const int barWidth = box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box);
    const QMargins frame = box.contentsMargins();
    const int now = box.contentsRect().width();
    const int narrowest =
        box.minimumWidth() > 0 ? box.minimumWidth() - frame.left() - frame.right() : now;
    const auto add = [&laidOut](int width) {
        width = std::max(width, 1);
        if (std::find(laidOut.widths.begin(), laidOut.widths.end(), width) == laidOut.widths.end())
            laidOut.widths.push_back(width);
    };
    for (const int width : {now, narrowest}) {
        add(width);
        if (box.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) add(width - barWidth);
    }
    return laidOut;
}

PageBox BoxOf(const QTextEdit& box, PictureSource pictures) {
    return BoxOf(box, std::move(pictures), box.document()->documentMargin());
}

std::unique_ptr<PageDocument> ParsePage(const QString& html, const PageBox& box,
                                        PageDocument::PictureLoader pictures) {
    auto document = std::make_unique<PageDocument>(std::move(pictures));
    document->setDefaultFont(box.font);
    document->setDefaultTextOption(box.option);
    document->setDocumentMargin(box.margin);
    document->setIndentWidth(box.indentWidth);
    document->SetPictureBase(box.baseUrl);
    document->setUseDesignMetrics(box.designMetrics);
    document->setHtml(html);
    page_geometry::TameGeometry(*document);
    return document;
}

page_trial::TrialRequest RequestFor(const std::string& page, const PageBox& box) {
    page_trial::TrialRequest request;
    request.page = page;
    request.pictures = box.pictures.rule;
    request.pictureFolder = box.pictures.folder.string();
    request.baseUrl = box.baseUrl.toString(QUrl::FullyEncoded).toStdString();
    request.font = box.font.toString().toStdString();
    request.documentMargin = box.margin;
    request.indentWidth = box.indentWidth;
    request.wrapMode = static_cast<int>(box.option.wrapMode());
    request.designMetrics = box.designMetrics;
    request.widths = box.widths;
    request.dpiX = box.dpiX;
    request.dpiY = box.dpiY;
    return request;
}

PageBox BoxOf(const page_trial::TrialRequest& request) {
    PageBox box;
    box.font.fromString(QString::fromStdString(request.font));
    box.option.setWrapMode(static_cast<QTextOption::WrapMode>(request.wrapMode));
    box.margin = request.documentMargin;
    box.indentWidth = request.indentWidth;
    box.designMetrics = request.designMetrics;
    box.baseUrl = QUrl(QString::fromStdString(request.baseUrl), QUrl::StrictMode);
    box.widths = request.widths;
    box.dpiX = request.dpiX;
    box.dpiY = request.dpiY;
    box.pictures = {request.pictures, std::filesystem::path(request.pictureFolder)};
    return box;
}

ReadPage ReadHtml(const std::string& page, const PageBox& box, PageDocument::PictureLoader pictures,
                  page_trial::Standing standing) {
    std::unique_ptr<PageDocument> parsed;
    if (auto refusal = judge(page, box, &parsed, pictures, standing))
        return refused(std::move(*refusal));
    if (parsed) return read(std::move(parsed));
    return read(ParsePage(platform::toQt(page), box, std::move(pictures)));
}

std::optional<page_refusals::Refusal> JudgePage(const std::string& page, const PageBox& box,
                                                page_trial::Standing standing) {
    return judge(page, box, nullptr, noPicture, standing);
}

ReadPage ReadPasted(const QMimeData& source, const PageBox& box,
                    PageDocument::PictureLoader pictures) {
    QString html;
    const QStringList formats = source.formats();
    if (!formats.isEmpty() && formats.first() == u"text/markdown") {
        const QByteArray markdown = source.data(formats.first());
        if (auto refusal = page_judge::JudgeSize(static_cast<std::size_t>(markdown.size()), {}))
            return refused(std::move(refusal));
        page_refusals::Refusal refusal;
        const auto page = [&] {
            const WaitCursor waiting;
            return page_trial::MarkdownPage(markdown.toStdString(), refusal);
        }();
        if (!page) return refused(refusal);
        html = QString::fromStdString(*page);
    } else if (source.hasFormat(QStringLiteral("application/x-qrichtext"))) {
        // As Qt's editor reads its own rich text: UTF-8, marked as such.
        html = QStringLiteral("<meta name=\"qrichtext\" content=\"1\" />") +
               QString::fromUtf8(source.data(QStringLiteral("application/x-qrichtext")));
    } else if (source.hasHtml()) {
        html = source.html();
    } else {
        QString text = source.text();
        if (auto refusal =
                page_judge::JudgeSize(static_cast<std::size_t>(text.size()), {.plainText = true}))
            return refused(std::move(refusal));
        ReadPage plain;
        plain.plainText = std::move(text);
        return plain;
    }
    // Parsing alone can take minutes (a style sheet's rules over many elements): what is
    // pasted takes the road of a page before it is parsed here.
    return ReadHtml(platform::fromQtHtml(html), box, std::move(pictures),
                    page_trial::Standing::kComingIn);
}

Trial SetTrial(Trial trial) {
    return std::exchange(installedTrial(), std::move(trial));
}

void ShowDocument(QTextEdit& box, std::unique_ptr<PageDocument> document) {
    // The box deletes only the document it made itself; one of ours is deleted here.
    QTextDocument* const previous = box.document();
    const std::unique_ptr<QTextDocument> ours(previous->parent() == &box ? previous : nullptr);
    document->setParent(&box);
    // Without a page size the box's first look at the page would lay it out at no width at
    // all, before laying it out again at its own: for a large table that doubles its time.
    document->setPageSize(QSizeF(0, 0));
    box.setDocument(document.release());
}

}  // namespace page_reader
