#include "pages/PageGeometry.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <unordered_set>
#include <vector>

#include "platform/FontColorDialogs.h"

namespace page_geometry {

namespace {

struct Range {
    int property;
    double low;
    double high;
};

// Lengths in pixels (or percent, for line heights and letter spacing) and levels of indent;
// each range holds what ordinary pages use many times over. Nothing goes below zero that
// could put one line, letter or cell onto another: painting letters stacked on each other
// costs every repaint what the layout never shows.
constexpr double kSpacing = 1000;
constexpr double kSize = 16384;
constexpr std::array kRanges = {
    Range{QTextFormat::BlockTopMargin, 0, kSpacing},
    Range{QTextFormat::BlockBottomMargin, 0, kSpacing},
    Range{QTextFormat::BlockLeftMargin, 0, kSpacing},
    Range{QTextFormat::BlockRightMargin, 0, kSpacing},
    Range{QTextFormat::TextIndent, -kSpacing, kSpacing},
    Range{QTextFormat::LineHeight, 0, kSpacing},
    Range{QTextFormat::BlockIndent, 0, 100},
    Range{QTextFormat::ListIndent, 0, 100},
    Range{QTextFormat::FontPointSize, 1, platform::kLargestFontPoints},
    Range{QTextFormat::FontPixelSize, 1, 700},
    Range{QTextFormat::FontLetterSpacing, -kSpacing, kSpacing},
    Range{QTextFormat::FontWordSpacing, -kSpacing, kSpacing},
    Range{QTextFormat::ImageWidth, 0, kSize},
    Range{QTextFormat::ImageHeight, 0, kSize},
    Range{QTextFormat::FrameBorder, 0, kSpacing},
    Range{QTextFormat::FrameMargin, 0, kSpacing},
    Range{QTextFormat::FrameTopMargin, 0, kSpacing},
    Range{QTextFormat::FrameBottomMargin, 0, kSpacing},
    Range{QTextFormat::FrameLeftMargin, 0, kSpacing},
    Range{QTextFormat::FrameRightMargin, 0, kSpacing},
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

// Letters and words may come closer than the font sets them by this share of its size (the
// tightening real documents use), never so close that one is painted over the next.
constexpr double kTightest = 0.1;
// Where a page gives sizes in points; a box of another resolution only makes the bound
// tighter or looser by that ratio.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

double clamped(double value, const Range& range) {
    // Not a number compares false everywhere: it becomes the low end.
    return value >= range.low ? std::min(value, range.high) : range.low;
}

constexpr Range kPercent{0, 0, 100};

QTextLength clamped(const QTextLength& length, const Range& range) {
    switch (length.type()) {
        case QTextLength::FixedLength:
            return QTextLength(QTextLength::FixedLength, clamped(length.rawValue(), range));
        case QTextLength::PercentageLength:
            return QTextLength(QTextLength::PercentageLength, clamped(length.rawValue(), kPercent));
        default:
            return length;
    }
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
        } else if (value.userType() == QMetaType::QVariantList) {
            // How Qt's reader keeps a table's column widths.
            QVariantList lengths = value.toList();
            for (QVariant& length : lengths)
                if (length.userType() == QMetaType::QTextLength)
                    length = QVariant::fromValue(clamped(length.value<QTextLength>(), range));
            tamed = lengths;
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

// Letter and word spacing no tighter than kTightest of the font's size. Spacing in percent is
// of the letters' own width.
bool tameSpacing(QTextCharFormat& format, const QFont& defaultFont) {
    bool changed = false;
    const QFont font = format.font().resolve(defaultFont);
    const double size =
        font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kPixelsPerPoint;
    const double tightest = -kTightest * std::max(size, 0.0);
    if (format.hasProperty(QTextFormat::FontLetterSpacing)) {
        const double low = format.fontLetterSpacingType() == QFont::PercentageSpacing
                               ? 100 * (1 - kTightest)
                               : tightest;
        if (format.fontLetterSpacing() < low) {
            format.setFontLetterSpacing(low);
            changed = true;
        }
    }
    if (format.hasProperty(QTextFormat::FontWordSpacing) && format.fontWordSpacing() < tightest) {
        format.setFontWordSpacing(tightest);
        changed = true;
    }
    return changed;
}

bool tameCharacters(QTextCharFormat& format, const QFont& defaultFont) {
    const bool ranged = tame(format);
    return tameSpacing(format, defaultFont) || ranged;
}

// Lines no closer than the font sets them, and a first line drawn back no further than the
// block's own margin (a hanging indent): never over a neighbouring cell.
bool tameLines(QTextBlockFormat& format, Qt::LayoutDirection direction) {
    bool changed = false;
    if (format.hasProperty(QTextFormat::LineHeight)) {
        const double height = format.lineHeight();
        switch (format.lineHeightType()) {
            case QTextBlockFormat::ProportionalHeight:
                if (height < 100) {
                    format.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
                    changed = true;
                }
                break;
            case QTextBlockFormat::FixedHeight:
                // Lower than its letters, lines would lie over each other.
                format.setLineHeight(height, QTextBlockFormat::MinimumHeight);
                changed = true;
                break;
            default:
                break;
        }
    }
    const double margin = direction == Qt::RightToLeft ? format.rightMargin() : format.leftMargin();
    if (format.hasProperty(QTextFormat::TextIndent) && format.textIndent() < -margin) {
        format.setTextIndent(-margin);
        changed = true;
    }
    return changed;
}

// A table held lower than its rows lays what follows over them: it is as high as they are.
bool tameHeight(QTextFrameFormat& format) {
    if (format.height().type() != QTextLength::FixedLength) return false;
    format.clearProperty(QTextFormat::FrameHeight);
    return true;
}

}  // namespace

void TameGeometry(QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    std::unordered_set<QTextList*> lists;
    const QFont defaultFont = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat blockFormat = block.blockFormat();
        const bool ranged = tame(blockFormat);
        if (tameLines(blockFormat, block.textDirection()) || ranged)
            cursor.setBlockFormat(blockFormat);
        if (QTextCharFormat format = block.charFormat(); tameCharacters(format, defaultFont))
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
            if (QTextCharFormat format = fragment.charFormat(); tameCharacters(format, defaultFont))
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
        QTextFrameFormat format = frame->frameFormat();
        const bool ranged = tame(format);
        if (tameHeight(format) || ranged) frame->setFrameFormat(format);
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

}  // namespace page_geometry
