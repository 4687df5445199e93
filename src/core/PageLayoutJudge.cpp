#include "core/PageLayoutJudge.h"

#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_set>
#include <utility>
#include <vector>

namespace layout_judge {

namespace {

// The narrowest a text box is laid out at: what a line can hold is counted from it.
constexpr double kNarrowestBox = 100;
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr double kLeading = 1.25;

struct Range {
    int property;
    double low;
    double high;
};

// Lengths in pixels (or percent, for line heights and letter spacing) and levels of indent;
// each range holds what ordinary pages use many times over.
constexpr double kSpacing = 1000;
constexpr double kSize = 16384;
constexpr std::array kRanges = {
    Range{QTextFormat::BlockTopMargin, -kSpacing, kSpacing},
    Range{QTextFormat::BlockBottomMargin, -kSpacing, kSpacing},
    Range{QTextFormat::BlockLeftMargin, -kSpacing, kSpacing},
    Range{QTextFormat::BlockRightMargin, -kSpacing, kSpacing},
    Range{QTextFormat::TextIndent, -kSpacing, kSpacing},
    Range{QTextFormat::LineHeight, 0, kSpacing},
    Range{QTextFormat::BlockIndent, 0, 100},
    Range{QTextFormat::ListIndent, 0, 100},
    Range{QTextFormat::FontPointSize, 1, 500},
    Range{QTextFormat::FontPixelSize, 1, 700},
    Range{QTextFormat::FontLetterSpacing, -kSpacing, kSpacing},
    Range{QTextFormat::FontWordSpacing, -kSpacing, kSpacing},
    Range{QTextFormat::ImageWidth, 0, kSize},
    Range{QTextFormat::ImageHeight, 0, kSize},
    Range{QTextFormat::FrameBorder, 0, kSpacing},
    Range{QTextFormat::FrameMargin, -kSpacing, kSpacing},
    Range{QTextFormat::FrameTopMargin, -kSpacing, kSpacing},
    Range{QTextFormat::FrameBottomMargin, -kSpacing, kSpacing},
    Range{QTextFormat::FrameLeftMargin, -kSpacing, kSpacing},
    Range{QTextFormat::FrameRightMargin, -kSpacing, kSpacing},
    Range{QTextFormat::FramePadding, 0, kSpacing},
    Range{QTextFormat::TableCellSpacing, 0, kSpacing},
    Range{QTextFormat::TableCellPadding, 0, kSpacing},
    Range{QTextFormat::TableCellTopPadding, 0, kSpacing},
    Range{QTextFormat::TableCellBottomPadding, 0, kSpacing},
    Range{QTextFormat::TableCellLeftPadding, 0, kSpacing},
    Range{QTextFormat::TableCellRightPadding, 0, kSpacing},
    Range{QTextFormat::TableCellTopBorder, 0, kSpacing},
    Range{QTextFormat::TableCellBottomBorder, 0, kSpacing},
    Range{QTextFormat::TableCellLeftBorder, 0, kSpacing},
    Range{QTextFormat::TableCellRightBorder, 0, kSpacing},
    Range{QTextFormat::FrameWidth, 0, kSize},
    Range{QTextFormat::FrameHeight, 0, kSize},
    Range{QTextFormat::BlockTrailingHorizontalRulerWidth, 0, kSize},
    Range{QTextFormat::TableColumnWidthConstraints, 0, kSize},
};

double clamped(double value, const Range& range) {
    // Not a number compares false everywhere: it becomes the low end.
    return value >= range.low ? std::min(value, range.high) : range.low;
}

QTextLength clamped(const QTextLength& length, const Range& range) {
    if (length.type() != QTextLength::FixedLength) return length;
    return QTextLength(QTextLength::FixedLength, clamped(length.rawValue(), range));
}

// Whether any length of the format had to be brought into range.
bool tame(QTextFormat& format) {
    bool changed = false;
    for (const Range& range : kRanges) {
        if (!format.hasProperty(range.property)) continue;
        const QVariant value = format.property(range.property);
        QVariant tamed;
        if (value.userType() == QMetaType::QTextLength) {
            tamed = QVariant::fromValue(clamped(value.value<QTextLength>(), range));
        } else if (value.userType() == qMetaTypeId<QList<QTextLength>>()) {
            QList<QTextLength> lengths = value.value<QList<QTextLength>>();
            for (QTextLength& length : lengths)
                length = clamped(length, range);
            tamed = QVariant::fromValue(lengths);
        } else if (value.userType() == QMetaType::Int) {
            tamed = static_cast<int>(clamped(value.toInt(), range));
        } else if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float) {
            tamed = clamped(value.toDouble(), range);
        } else {
            continue;
        }
        if (tamed == value) continue;
        format.setProperty(range.property, tamed);
        changed = true;
    }
    return changed;
}

// The tallest a line of text in this format can be, in pixels.
double linePixels(const QTextCharFormat& format, const QFont& fallback) {
    double pixels = 0;
    if (format.hasProperty(QTextFormat::FontPixelSize))
        pixels = format.intProperty(QTextFormat::FontPixelSize);
    else if (format.hasProperty(QTextFormat::FontPointSize))
        pixels = format.fontPointSize() * kPixelsPerPoint;
    else
        pixels = fallback.pixelSize() > 0 ? fallback.pixelSize()
                                          : fallback.pointSizeF() * kPixelsPerPoint;
    if (!(pixels > 0)) pixels = 0;
    return pixels * kLeading;
}

double lineHeight(const QTextBlockFormat& format, double script) {
    const double set = format.lineHeight();
    switch (format.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            return script * set / 100;
        case QTextBlockFormat::FixedHeight:
            return set;
        case QTextBlockFormat::MinimumHeight:
            return std::max(script, set);
        case QTextBlockFormat::LineDistanceHeight:
            return script + set;
        default:
            return script;
    }
}

struct Runs {
    std::size_t longest = 0;
    double squares = 0;  // the sum of their squared lengths
};

// The runs of the text without a line-break opportunity.
Runs runsOf(const QString& text) {
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    Runs runs;
    qsizetype last = 0;
    const auto add = [&runs](qsizetype length) {
        runs.longest = std::max(runs.longest, static_cast<std::size_t>(length));
        runs.squares += static_cast<double>(length) * static_cast<double>(length);
    };
    while (breaks.toNextBoundary() != -1) {
        add(breaks.position() - last);
        last = breaks.position();
    }
    add(text.size() - last);
    return runs;
}

// The height a picture takes: as the page sets it, or as the picture itself is (scaled to the
// width the page sets). Pictures are loaded, judged and kept by the document's loader.
double pictureHeight(const QTextDocument& document, const QTextImageFormat& format) {
    if (format.hasProperty(QTextFormat::ImageHeight)) return format.height();
    const QVariant picture = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QSizeF size;
    if (picture.userType() == QMetaType::QPixmap)
        size = picture.value<QPixmap>().size();
    else if (picture.userType() == QMetaType::QImage)
        size = picture.value<QImage>().size();
    if (size.isEmpty()) return 0;
    if (format.hasProperty(QTextFormat::ImageWidth))
        return format.width() * size.height() / size.width();
    return size.height();
}

class Measure {
public:
    explicit Measure(const QTextDocument& document)
        : document_(document), font_(document.defaultFont()) {}

    void Frame(QTextFrame& frame, std::size_t tables) {
        const QTextFrameFormat format = frame.frameFormat();
        cost_.height +=
            format.topMargin() + format.bottomMargin() + 2 * format.padding() + 2 * format.border();
        if (format.height().type() == QTextLength::FixedLength)
            cost_.height += format.height().rawValue();
        if (auto* table = qobject_cast<QTextTable*>(&frame)) Table(*table, ++tables);
        const std::size_t weight = std::size_t{1} << (tables == 0 ? 0 : tables - 1);
        for (auto it = frame.begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame())
                Frame(*child, tables);
            else
                Block(it.currentBlock(), weight, tables > 0);
        }
    }

    [[nodiscard]] const PageCost& Cost() const { return cost_; }

private:
    void Table(const QTextTable& table, std::size_t tables) {
        const auto rows = static_cast<std::size_t>(table.rows());
        const auto columns = static_cast<std::size_t>(table.columns());
        const std::size_t weight = std::size_t{1} << (tables - 1);
        std::size_t cells = 0;
        for (int row = 0; row < table.rows(); ++row)
            for (int column = 0; column < table.columns(); ++column) {
                const QTextTableCell cell = table.cellAt(row, column);
                cells += cell.row() == row && cell.column() == column;
            }
        cost_.cells += cells * weight;
        cost_.gridCells += (rows * columns - cells) * weight;
        const QTextTableFormat format = table.format();
        cost_.height += static_cast<double>(rows) *
                        (format.cellSpacing() + 2 * format.cellPadding() + 2 * format.border());
    }

    void Block(const QTextBlock& block, std::size_t weight, bool inTable) {
        const QString text = block.text();
        const auto characters = static_cast<std::size_t>(text.size());
        std::size_t fragments = 0;
        double script = linePixels(block.charFormat(), font_);
        double pictures = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            ++fragments;
            script = std::max(script, linePixels(format, font_));
            if (format.isImageFormat()) {
                // One fragment holds a run of the same picture.
                const auto count = static_cast<std::size_t>(it.fragment().length());
                cost_.pictures += count * weight;
                pictures +=
                    static_cast<double>(count) * pictureHeight(document_, format.toImageFormat());
            }
        }
        cost_.characters += characters * weight;
        cost_.parts += (1 + fragments) * weight;
        const Runs runs = runsOf(text);
        cost_.longestRun = std::max(cost_.longestRun, runs.longest);
        if (inTable) cost_.squeezedRuns += runs.squares * static_cast<double>(weight);
        // A line holds at least one character, and as many as fit in the narrowest box.
        const auto byWidth = static_cast<double>(characters) * script / kLeading / kNarrowestBox;
        const double lines = std::min(static_cast<double>(characters), std::ceil(byWidth)) + 1;
        const QTextBlockFormat format = block.blockFormat();
        cost_.height += format.topMargin() + format.bottomMargin() + pictures +
                        lines * std::max(lineHeight(format, script), 0.0);
    }

    const QTextDocument& document_;
    QFont font_;
    PageCost cost_;
};

double share(std::size_t value, std::size_t limit) {
    return static_cast<double>(value) / static_cast<double>(limit);
}

}  // namespace

PageCost& PageCost::operator+=(const PageCost& other) {
    characters += other.characters;
    parts += other.parts;
    cells += other.cells;
    gridCells += other.gridCells;
    pictures += other.pictures;
    longestRun = std::max(longestRun, other.longestRun);
    height += other.height;
    squeezedRuns += other.squeezedRuns;
    return *this;
}

PageCost MeasurePage(const QTextDocument& document) {
    Measure measure(document);
    measure.Frame(*document.rootFrame(), 0);
    return measure.Cost();
}

std::optional<std::string> JudgeCost(const PageCost& cost) {
    const LayoutLimits& limits = kLayoutLimits;
    if (cost.longestRun > limits.longestRun)
        return "It has a word of more than " + std::to_string(limits.longestRun) +
               " characters with no place to break the line.";
    if (!(cost.height <= limits.height))
        return "It would be laid out taller than " +
               std::to_string(static_cast<long long>(limits.height)) + " pixels.";
    const std::array<std::pair<double, const char*>, 6> shares = {{
        {share(cost.characters, limits.characters), "It holds more text than"},
        {share(cost.parts, limits.parts), "It has more paragraphs and changes of format than"},
        {share(cost.cells, limits.cells), "Its tables have more cells than"},
        {share(cost.gridCells, limits.gridCells), "Its tables span more columns than"},
        {share(cost.pictures, limits.pictures), "It has more pictures than"},
        {cost.squeezedRuns / limits.squeezedRuns, "Its tables hold longer words than"},
    }};
    double load = 0;
    for (const auto& [part, reason] : shares)
        load += part;
    if (load <= 1) return std::nullopt;
    const auto largest = std::max_element(shares.begin(), shares.end());
    return std::string(largest->second) + " can be laid out at once.";
}

void TameGeometry(QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    std::unordered_set<QTextList*> lists;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        if (QTextBlockFormat format = block.blockFormat(); tame(format))
            cursor.setBlockFormat(format);
        if (QTextCharFormat format = block.charFormat(); tame(format))
            cursor.setBlockCharFormat(format);
        if (QTextList* list = block.textList()) lists.insert(list);
        // Formatting a fragment splits and merges fragments: change them once all are read.
        struct Change {
            int start;
            int end;
            QTextCharFormat format;
        };
        std::vector<Change> changes;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (QTextCharFormat format = fragment.charFormat(); tame(format))
                changes.push_back(
                    {fragment.position(), fragment.position() + fragment.length(), format});
        }
        for (const Change& change : changes) {
            cursor.setPosition(change.start);
            cursor.setPosition(change.end, QTextCursor::KeepAnchor);
            cursor.setCharFormat(change.format);
        }
    }
    for (QTextList* list : lists)
        if (QTextListFormat format = list->format(); tame(format)) list->setFormat(format);
    std::vector<QTextFrame*> frames{document.rootFrame()};
    while (!frames.empty()) {
        QTextFrame* frame = frames.back();
        frames.pop_back();
        for (QTextFrame* child : frame->childFrames())
            frames.push_back(child);
        if (QTextFrameFormat format = frame->frameFormat(); tame(format))
            frame->setFrameFormat(format);
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        for (int row = 0; row < table->rows(); ++row)
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column) continue;
                if (QTextCharFormat format = cell.format(); tame(format)) cell.setFormat(format);
            }
    }
    document.setUndoRedoEnabled(undo);
}

}  // namespace layout_judge
