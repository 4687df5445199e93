#include "notes/NoteFormatting.h"

#include <QFontInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>

#include <algorithm>
#include <vector>

namespace NoteFormatting {

namespace {

std::vector<QTextBlock> selectedBlocks(const QTextCursor& cursor) {
    std::vector<QTextBlock> blocks;
    // A text box hands out a cursor of no document while it replaces its page.
    if (cursor.isNull()) return blocks;
    const QTextDocument* document = cursor.document();
    const int lastPosition = document->characterCount() - 1;
    const int start = std::clamp(cursor.selectionStart(), 0, lastPosition);
    const int end = std::clamp(cursor.selectionEnd(), start, lastPosition);
    const QTextBlock last = document->findBlock(end);
    for (QTextBlock block = document->findBlock(start); block.isValid(); block = block.next()) {
        blocks.push_back(block);
        if (block == last) break;
    }
    return blocks;
}

Qt::Alignment horizontal(Qt::Alignment alignment) {
    alignment &= Qt::AlignHorizontal_Mask;
    alignment &= ~Qt::Alignment(Qt::AlignAbsolute);
    if (alignment == Qt::AlignLeading || alignment == 0) return Qt::AlignLeft;
    if (alignment == Qt::AlignTrailing) return Qt::AlignRight;
    return alignment;
}

bool isBulleted(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (!list) return false;
    const QTextListFormat::Style style = list->format().style();
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// The character formats of the selected text; the caret's format when nothing is selected.
std::vector<QTextCharFormat> selectedFormats(const QTextEdit& editor) {
    const QTextCursor cursor = editor.textCursor();
    std::vector<QTextCharFormat> formats;
    if (cursor.hasSelection()) {
        const int start = cursor.selectionStart();
        const int end = cursor.selectionEnd();
        for (const QTextBlock& block : selectedBlocks(cursor)) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const bool inside =
                    fragment.position() < end && fragment.position() + fragment.length() > start;
                if (inside && !fragment.charFormat().isImageFormat())
                    formats.push_back(fragment.charFormat());
            }
        }
    }
    if (formats.empty()) formats.push_back(editor.currentCharFormat());
    return formats;
}

template <typename T, typename Item, typename Read>
std::optional<T> common(const std::vector<Item>& items, Read read) {
    const T first = read(items.front());
    for (const Item& item : items)
        if (read(item) != first) return std::nullopt;
    return first;
}

void merge(QTextEdit& editor, const QTextCharFormat& format) {
    QTextCursor cursor = editor.textCursor();
    cursor.beginEditBlock();
    if (cursor.hasSelection()) cursor.mergeCharFormat(format);
    editor.mergeCurrentCharFormat(format);
    cursor.endEditBlock();
}

}  // namespace

std::optional<Qt::Alignment> SelectionAlignment(const QTextCursor& cursor) {
    std::optional<Qt::Alignment> shared;
    for (const QTextBlock& block : selectedBlocks(cursor)) {
        const Qt::Alignment alignment = horizontal(block.blockFormat().alignment());
        if (shared && *shared != alignment) return std::nullopt;
        shared = alignment;
    }
    return shared;
}

void Align(QTextCursor cursor, Qt::Alignment alignment) {
    QTextBlockFormat format;
    format.setAlignment(alignment == Qt::AlignLeft ? Qt::AlignLeft | Qt::AlignAbsolute : alignment);
    cursor.beginEditBlock();
    cursor.mergeBlockFormat(format);
    cursor.endEditBlock();
}

bool SelectionInBulletList(const QTextCursor& cursor) {
    const std::vector<QTextBlock> blocks = selectedBlocks(cursor);
    return !blocks.empty() && std::all_of(blocks.begin(), blocks.end(), isBulleted);
}

void ToggleBullets(QTextCursor cursor) {
    cursor.beginEditBlock();
    if (SelectionInBulletList(cursor)) {
        for (const QTextBlock& block : selectedBlocks(cursor)) {
            block.textList()->remove(block);
            QTextCursor at(block);
            QTextBlockFormat format = block.blockFormat();
            format.setIndent(0);
            at.setBlockFormat(format);
        }
    } else {
        cursor.createList(QTextListFormat::ListDisc);
    }
    cursor.endEditBlock();
}

SelectionFont ReadSelectionFont(const QTextEdit& editor) {
    const QFont base = editor.document()->defaultFont();
    const QColor text = editor.palette().color(QPalette::Text);
    const std::vector<QTextCharFormat> formats = selectedFormats(editor);
    std::vector<QFont> fonts;
    for (const QTextCharFormat& format : formats)
        fonts.push_back(format.font().resolve(base));
    SelectionFont font;
    font.family = common<QString>(fonts, [](const QFont& f) { return f.family(); });
    font.pointSize = common<qreal>(fonts, [](const QFont& f) { return f.pointSizeF(); });
    font.bold = common<bool>(fonts, [](const QFont& f) { return f.bold(); });
    font.italic = common<bool>(fonts, [](const QFont& f) { return f.italic(); });
    font.underline = common<bool>(fonts, [](const QFont& f) { return f.underline(); });
    font.strikeOut = common<bool>(fonts, [](const QFont& f) { return f.strikeOut(); });
    font.colour = common<QColor>(formats, [&text](const QTextCharFormat& f) {
        return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : text;
    });
    return font;
}

platform::FontChoice SeedFont(platform::FontChoice start, const SelectionFont& selection) {
    QFont& font = start.font;
    if (selection.family) font.setFamilies({*selection.family});
    if (selection.pointSize && *selection.pointSize > 0) font.setPointSizeF(*selection.pointSize);
    if (selection.bold) font.setBold(*selection.bold);
    if (selection.italic) font.setItalic(*selection.italic);
    if (selection.underline) font.setUnderline(*selection.underline);
    if (selection.strikeOut) font.setStrikeOut(*selection.strikeOut);
    if (selection.colour) start.colour = *selection.colour;
    font.setFamilies({QFontInfo(font).family()});
    return start;
}

bool ApplyFont(QTextEdit& editor, const platform::FontChoice& shown,
               const platform::FontChoice& chosen) {
    const QFont& was = shown.font;
    const QFont& now = chosen.font;
    QTextCharFormat format;
    if (now.family() != was.family()) format.setFontFamilies(QStringList{now.family()});
    if (now.pointSizeF() != was.pointSizeF()) format.setFontPointSize(now.pointSizeF());
    if (now.italic() != was.italic()) format.setFontItalic(now.italic());
    if (now.bold() != was.bold()) format.setFontWeight(now.bold() ? QFont::Bold : QFont::Normal);
    if (now.underline() != was.underline()) format.setFontUnderline(now.underline());
    if (now.strikeOut() != was.strikeOut()) format.setFontStrikeOut(now.strikeOut());
    if (chosen.colour != shown.colour) format.setForeground(chosen.colour);
    if (format.properties().isEmpty()) return false;
    merge(editor, format);
    return true;
}

void ToggleStyle(QTextEdit& editor, Style style) {
    const SelectionFont font = ReadSelectionFont(editor);
    QTextCharFormat format;
    switch (style) {
        case Style::Bold:
            format.setFontWeight(font.bold.value_or(false) ? QFont::Normal : QFont::Bold);
            break;
        case Style::Italic:
            format.setFontItalic(!font.italic.value_or(false));
            break;
        case Style::Underline:
            format.setFontUnderline(!font.underline.value_or(false));
            break;
    }
    merge(editor, format);
}

void ApplyColour(QTextEdit& editor, const QColor& colour) {
    QTextCharFormat format;
    format.setForeground(colour);
    merge(editor, format);
}

}  // namespace NoteFormatting
