#pragma once

#include <QLineEdit>

#include <cstdint>
#include <optional>
#include <string>

class QAction;
class QMenu;

// A box for a count typed by the user: digits, Backspace and select-all only, never empty, no
// leading zero. A level-count box (one level of one line or row) also keeps within its maximum,
// shows the maximum as its tooltip and offers it from a pop-up menu on the right button.
class LevelCountBox : public QLineEdit {
    Q_OBJECT
public:
    // A level-count box; level 1 beginner, 2 intermediate, 3 expert.
    LevelCountBox(int index, int level, QWidget* parent);
    // A plain number box (minutes, thresholds): no maximum, no pop-up menu.
    LevelCountBox(int maxLength, QWidget* parent);

    [[nodiscard]] int Index() const { return index_; }
    [[nodiscard]] int Level() const { return level_; }
    // The most questions the box may ask for (its Tag).
    [[nodiscard]] int Maximum() const { return maximum_; }
    void SetMaximum(int maximum) { maximum_ = maximum; }

    // Text set from code raises Change as the user's edits do.
    void SetText(const std::string& text);
    // The text as a 16-bit whole number; nullopt while it does not read as one.
    [[nodiscard]] std::optional<std::int16_t> Number() const;

    // The menu and item the right button pops up; without them no menu opens.
    void SetPopupMenu(QMenu* menu, QAction* item);

    // The check after every key: the count comes back within the maximum, a leading zero
    // goes, an empty box becomes "0" and a lone "0" is selected so that typing replaces it.
    void KeyUp();
    void PopUpMaximumMenu(const QPoint& globalPosition);

    // "beginner", "intermediate", "expert": what the menu's Tag holds for a level.
    static QString LevelWord(int level);
    // The level (1 to 3) and box index the maximum item was popped up for.
    struct MenuTarget {
        int level = 0;
        int index = 0;
    };
    static std::optional<MenuTarget> MenuTargetOf(const QMenu* menu, const QAction* item);

signals:
    void Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    [[nodiscard]] bool exceedsMaximum(const QString& text) const;
    void showMaximumTip();

    int index_ = 0;
    int level_ = 0;  // 0: a plain number box
    int maximum_ = 0;
    QMenu* menu_ = nullptr;
    QAction* item_ = nullptr;
};
