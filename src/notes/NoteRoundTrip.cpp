#include "notes/NoteRoundTrip.h"

#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <vector>

namespace note_round_trip {

namespace {

// Qt writes a block that carries a rule as the rule alone: text typed on the rule's line goes
// to a line of its own below it.
bool ruledText(const QTextBlock& block) {
    return block.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth) &&
           !block.text().isEmpty();
}

constexpr QChar kCellStart(0xFDD0);   // what Qt's documents hold where a table cell begins
constexpr QChar kEndOfFrame(0xFDD1);  // and where a table ends

// For each table, in the order they end: whether the line right below it holds text.
std::vector<bool> textBelowTables(const QTextDocument& document) {
    std::vector<bool> below;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.position() > 0 && document.characterAt(block.position() - 1) == kEndOfFrame)
            below.push_back(!block.text().isEmpty());
    return below;
}

// Qt reads a paragraph written right after a table into a line of its own, below the empty line
// that ends the table: text on that line (typed right below a table) is written as a run of
// text instead, the one form Qt reads back onto it.
QString bareBelowTables(QString html, const std::vector<bool>& below) {
    const QString tableEnd = QStringLiteral("</table>");
    std::vector<qsizetype> ends;
    for (qsizetype at = html.indexOf(tableEnd); at >= 0; at = html.indexOf(tableEnd, at + 1))
        ends.push_back(at + tableEnd.size());
    if (ends.size() != below.size()) return html;
    const QString paragraph = QStringLiteral("\n<p");
    const QString paragraphEnd = QStringLiteral("</p>");
    // From the last table up, so that the places found before stay where they are.
    for (std::size_t k = ends.size(); k-- > 0;) {
        if (!below[k] || QStringView(html).mid(ends[k], paragraph.size()) != paragraph) continue;
        const qsizetype open = ends[k] + 1;
        const qsizetype text = html.indexOf(u'>', open) + 1;
        const qsizetype close = html.indexOf(paragraphEnd, text);
        if (text == 0 || close < 0) continue;
        html.replace(close, paragraphEnd.size(), QStringLiteral("</span>"));
        html.replace(open, text - open, QStringLiteral("<span style=\"white-space:pre-wrap\">"));
    }
    return html;
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

QChar startOf(const QTextBlock& block) {
    return block.document()->characterAt(block.position() - 1);
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

// Empty lines followed by text that Qt neither writes nor reads back: atop a table cell, and
// below a table whose last cell ends without text. A note is shown without them, as it will be
// kept.
void dropLinesQtLoses(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        if (block.length() > 1 || block.position() == 0 || !next.isValid() || next.length() == 1 ||
            startOf(next) != QChar::ParagraphSeparator)
            continue;
        const QChar start = startOf(block);
        const bool lost = start == kCellStart ||
                          (start == kEndOfFrame && endsWithoutText(document, block.position() - 1));
        if (!lost) continue;
        QTextCursor cursor(block);
        cursor.setBlockFormat(next.blockFormat());
        cursor.setBlockCharFormat(next.charFormat());
        cursor.deleteChar();
        block = cursor.block();
    }
}

}  // namespace

void PrepareForShowing(QTextDocument& document) {
    dropLinesQtLoses(document);
    endBelowRule(document);
}

QString WrittenHtml(const QTextDocument& document) {
    bool any = false;
    for (QTextBlock block = document.begin(); block.isValid() && !any; block = block.next())
        any = ruledText(block);
    if (!any) return bareBelowTables(document.toHtml(), textBelowTables(document));
    const std::unique_ptr<QTextDocument> copy(document.clone());
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        if (!ruledText(block)) continue;
        QTextBlockFormat unruled = block.blockFormat();
        unruled.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
        QTextCursor(block).insertBlock(unruled, block.charFormat());
    }
    return bareBelowTables(copy->toHtml(), textBelowTables(*copy));
}

}  // namespace note_round_trip
