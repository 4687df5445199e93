#include "mainscreen/LevelCountBox.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>

#include <algorithm>
#include <limits>

#include "core/SelectAllKey.h"
#include "core/SystemVars.h"
#include "platform/TextCodec.h"

namespace {

constexpr int kLevelBoxLength = 4;

bool isDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Whether the key would reach the box as a character: printable keys, and Ctrl with a letter
// (Ctrl+V is character 22).
bool typesCharacter(const QKeyEvent* event) {
    if (!event->text().isEmpty()) return true;
    return (event->modifiers() & Qt::ControlModifier) && event->key() >= Qt::Key_A &&
           event->key() <= Qt::Key_Z;
}

// Every road into the box (keys, a paste by menu, keys or the middle button, a drop) ends
// here: only digits, and in a level-count box no more than its maximum.
class CountValidator : public QValidator {
public:
    explicit CountValidator(LevelCountBox* box) : QValidator(box), box_(box) {}
    State validate(QString& input, int&) const override {
        if (input.isEmpty()) return Acceptable;
        if (!isDigits(input)) return Invalid;
        return box_->Level() != 0 && input.toLongLong() > box_->Maximum() ? Invalid : Acceptable;
    }

private:
    const LevelCountBox* box_;
};

}  // namespace

LevelCountBox::LevelCountBox(int index, int level, QWidget* parent)
    : QLineEdit(parent), index_(index), level_(level) {
    setValidator(new CountValidator(this));
    setMaxLength(kLevelBoxLength);
    setMouseTracking(true);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textEdited, this, &LevelCountBox::Change);
}

LevelCountBox::LevelCountBox(int maxLength, QWidget* parent) : QLineEdit(parent) {
    setValidator(new CountValidator(this));
    setMaxLength(maxLength);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textEdited, this, &LevelCountBox::Change);
}

void LevelCountBox::SetText(const std::string& text) {
    setText(platform::toQt(text));
    emit Change();
}

std::optional<std::int16_t> LevelCountBox::Number() const {
    bool ok = false;
    const int value = text().toInt(&ok);
    if (!isDigits(text()) || !ok || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

void LevelCountBox::SetPopupMenu(QMenu* menu, QAction* item) {
    menu_ = menu;
    item_ = item;
}

bool LevelCountBox::exceedsMaximum(const QString& text) const {
    if (text.isEmpty()) return false;
    // Text that got in without a key press (a paste) and is no count counts as too large.
    if (!isDigits(text)) return true;
    return level_ != 0 && text.toLongLong() > maximum_;
}

void LevelCountBox::KeyUp() {
    const QString before = text();
    QString after = before;
    int caret = cursorPosition();
    // Each pass is one Backspace: the character left of the caret goes, or the first one when
    // the caret stands at the start. Every pass shortens the text, so the loop ends.
    for (qsizetype passes = after.size(); passes > 0; --passes) {
        const bool leadingZero = after.size() >= 2 && after.front() == u'0';
        if (!exceedsMaximum(after) && !leadingZero) break;
        if (caret > 0)
            after.remove(--caret, 1);
        else
            after.remove(0, 1);
    }
    if (after.isEmpty()) after = QStringLiteral("0");
    if (after != before) {
        setText(after);
        setCursorPosition(std::min<int>(caret, static_cast<int>(after.size())));
        emit Change();
    }
    if (after == u"0") selectAll();
}

QString LevelCountBox::LevelWord(int level) {
    switch (level) {
        case 1:
            return QStringLiteral("beginner");
        case 2:
            return QStringLiteral("intermediate");
        case 3:
            return QStringLiteral("expert");
        default:
            return {};
    }
}

std::optional<LevelCountBox::MenuTarget> LevelCountBox::MenuTargetOf(const QMenu* menu,
                                                                     const QAction* item) {
    if (!menu || !item) return std::nullopt;
    bool ok = false;
    const int index = item->property("Tag").toString().toInt(&ok);
    if (!ok) return std::nullopt;
    const QString word = menu->property("Tag").toString();
    for (int level = 1; level <= 3; ++level)
        if (word == LevelWord(level)) return MenuTarget{level, index};
    return std::nullopt;
}

void LevelCountBox::PopUpMaximumMenu(const QPoint& globalPosition) {
    if (level_ == 0 || !menu_ || !item_) return;
    menu_->setProperty("Tag", LevelWord(level_));
    item_->setProperty("Tag", QString::number(index_));
    item_->setText(platform::toQt(SystemVars.CustomizeTexts(customize_text::kUseMaximum) +
                                  std::to_string(maximum_)));
    menu_->popup(globalPosition);
}

void LevelCountBox::showMaximumTip() {
    setToolTip(platform::toQt(SystemVars.CustomizeTexts(customize_text::kAvailable) +
                              std::to_string(maximum_)));
}

void LevelCountBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // The window's own keys (Esc closes a dialog).
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    if (SelectAllOnKey(*this, *event)) return;
    const QString typed = event->text();
    const bool digit = typed.size() == 1 && typed.front() >= u'0' && typed.front() <= u'9';
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || digit || !typesCharacter(event))
        QLineEdit::keyPressEvent(event);
    else
        event->accept();
}

void LevelCountBox::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    KeyUp();
}

void LevelCountBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        PopUpMaximumMenu(event->globalPosition().toPoint());
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void LevelCountBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && text() == u"0") selectAll();
}

void LevelCountBox::mouseMoveEvent(QMouseEvent* event) {
    if (level_ != 0) showMaximumTip();
    QLineEdit::mouseMoveEvent(event);
}

void LevelCountBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Only the beginner column sets its tip on focus.
    if (level_ == 1) showMaximumTip();
}

void LevelCountBox::contextMenuEvent(QContextMenuEvent* event) {
    // The edit menu would let anything be pasted in.
    event->accept();
}
