#include "notes/NoteRoundTrip.h"

#include <QFont>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

#include "notes/mod_MyNotes.h"
#include "platform/TextCodec.h"

namespace note_round_trip {

namespace {

constexpr QChar kCellStart(0xFDD0);   // what Qt's documents hold where a table cell begins
constexpr QChar kEndOfFrame(0xFDD1);  // and where a table ends

// Qt's reader puts a paragraph written right after a table below an empty line of its own, and
// nothing it reads carries a paragraph's format onto that line. A line typed right below a
// table is written as Qt writes it, with this block state (which Qt keeps and shows nothing
// of), and goes back up when the note is shown.
constexpr int kBelowTable = 0x7461626c;

// Qt writes no empty line right below a table, and its reader puts the paragraph that follows
// onto that line when the table's last cell ends without text. A line typed below such an
// empty line is written with this block state, and goes back down below it when shown.
constexpr int kBelowEmptyLine = 0x656d7074;

QChar startOf(const QTextBlock& block) {
    return block.document()->characterAt(block.position() - 1);
}

// Qt writes a block that carries a rule as the rule alone: text typed on the rule's line goes
// to a line of its own below it.
bool ruledText(const QTextBlock& block) {
    return block.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth) &&
           !block.text().isEmpty();
}

// Text on the line right below a table. A list item is left where Qt's reader puts it.
bool textBelowTable(const QTextBlock& block) {
    return block.position() > 0 && startOf(block) == kEndOfFrame && !block.text().isEmpty() &&
           !block.textList();
}

// Whether Qt's reader, having read a table as Qt writes it, puts the paragraph that follows on
// the table's closing line: it does when the last cell ends without text (an empty cell, or a
// table that itself does so).
bool endsWithoutText(const QTextDocument& document, int tableEnd) {
    int at = tableEnd - 1;
    while (at > 0 && document.characterAt(at) == kEndOfFrame)
        --at;
    return document.characterAt(at) == kCellStart;
}

// Text on a line of its own below the empty line right below a table whose last cell ends
// without text.
bool textBelowEmptyLine(const QTextBlock& block) {
    if (block.text().isEmpty() || block.textList() || startOf(block) != QChar::ParagraphSeparator)
        return false;
    const QTextBlock above = block.previous();
    return above.position() > 0 && startOf(above) == kEndOfFrame && above.length() == 1 &&
           endsWithoutText(*block.document(), above.position() - 1);
}

// A note whose last line is a rule gets a line below it: what is typed at its end then shows,
// and is kept, on a line of its own.
void endBelowRule(QTextDocument& document) {
    const QTextBlock last = document.lastBlock();
    if (!last.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) return;
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    end.insertBlock(QTextBlockFormat(), last.charFormat());
}

// Whether the empty line `block`, above the text of `next` in the same cell, is one that Qt
// neither writes nor reads back (atop a table cell, or below a table whose last cell ends
// without text), or one its reader made up below a table, above a line written right below it.
bool lostOrMadeUp(const QTextBlock& block, const QTextBlock& next) {
    if (block.length() > 1 || block.position() == 0 || !next.isValid() || next.length() == 1 ||
        startOf(next) != QChar::ParagraphSeparator)
        return false;
    const QChar start = startOf(block);
    return start == kCellStart ||
           (start == kEndOfFrame && (next.userState() == kBelowTable ||
                                     endsWithoutText(*block.document(), block.position() - 1)));
}

// The note is shown without those lines, as it will be kept.
void dropLinesQtLoses(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        if (!lostOrMadeUp(block, next)) continue;
        QTextCursor cursor(block);
        cursor.setBlockFormat(next.blockFormat());
        cursor.setBlockCharFormat(next.charFormat());
        cursor.deleteChar();
        block = cursor.block();
    }
}

// The font families of the page as a style attribute's value gives them; none when a name
// would need escaping there.
QString familiesOf(const QFont& font) {
    QStringList quoted;
    for (const QString& family : font.families()) {
        if (family.contains(QRegularExpression(QStringLiteral("['\"&<>;]")))) return {};
        quoted << u'\'' + family + u'\'';
    }
    return quoted.join(u',');
}

// Qt marks the page it writes as its own, and its reader then wraps every block, preformatted
// or not: a line shown unwrapped would wrap when read back, at a cost that grows with the
// square of its length. Unmarked, the page reads back by its style rules, which keep the
// spaces of every kind of block Qt writes text in. A block that must not wrap Qt writes as
// preformatted, which its reader would show in a fixed-pitch font: it keeps the page's.
QString readableAsShown(const QString& html, const QTextDocument& document) {
    const qsizetype head = html.indexOf(QStringLiteral("</head>"));
    if (head < 0) return html;
    QString body = html.mid(head);
    if (const QString families = familiesOf(document.defaultFont()); !families.isEmpty())
        body.replace(QStringLiteral("<pre style=\""),
                     QStringLiteral("<pre style=\" font-family:%1;").arg(families));
    return platform::toQt(mod_MyNotes::UnmarkedAsQtsOwn(platform::fromQtHtml(html.left(head)))) +
           body;
}

// A line written below an empty line that Qt does not write goes back below it.
void restoreEmptyLines(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.userState() != kBelowEmptyLine || startOf(block) != kEndOfFrame) continue;
        QTextCursor cursor(block);
        cursor.insertBlock(block.blockFormat(), block.charFormat());
        cursor.movePosition(QTextCursor::PreviousBlock);
        cursor.setBlockFormat(QTextBlockFormat());
        cursor.block().setUserState(-1);
        block = cursor.block().next();
    }
}

}  // namespace

void PrepareForShowing(QTextDocument& document) {
    dropLinesQtLoses(document);
    restoreEmptyLines(document);
    endBelowRule(document);
}

QString WrittenHtml(const QTextDocument& document) {
    bool mended = false;
    for (QTextBlock block = document.begin(); block.isValid() && !mended; block = block.next())
        mended = ruledText(block) || textBelowTable(block) || textBelowEmptyLine(block);
    if (!mended) return readableAsShown(document.toHtml(), document);
    const std::unique_ptr<QTextDocument> copy(document.clone());
    // A clone keeps the page's margin in its frame but not as its own: Qt would then write the
    // whole page inside a frame.
    copy->setDocumentMargin(document.documentMargin());
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        if (ruledText(block)) {
            QTextBlockFormat unruled = block.blockFormat();
            unruled.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
            QTextCursor(block).insertBlock(unruled, block.charFormat());
        } else if (textBelowTable(block)) {
            block.setUserState(kBelowTable);
        } else if (textBelowEmptyLine(block)) {
            block.setUserState(kBelowEmptyLine);
        }
    }
    return readableAsShown(copy->toHtml(), document);
}

}  // namespace note_round_trip
