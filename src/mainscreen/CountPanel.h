#pragma once

#include <QLabel>
#include <QWidget>

#include <array>
#include <vector>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QScrollBar;
class LevelCountBox;

// A caption that toggles its row's check box when clicked.
class RowLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The controls of one row: check box, caption, three level-count boxes, the rule below.
struct CountRow {
    QCheckBox* check = nullptr;
    RowLabel* caption = nullptr;
    std::array<LevelCountBox*, 3> boxes{};
    QFrame* rule = nullptr;
};

// The scrolling panel of count rows shared by the custom-exam tab and the Customize dialog:
// a viewport (Outer) with the panel (Inner) inside it, moved by the scroll bar beside it or
// by the arrow and page keys on the panel. A header strip with four column headings stays at
// the top of the viewport; rows follow one another at a fixed rhythm below it.
class CountPanel : public QWidget {
    Q_OBJECT
public:
    CountPanel(int stripButtons, int viewportHeight, QWidget* parent);

    QWidget* Outer = nullptr;
    QWidget* Inner = nullptr;
    QScrollBar* Vscroll = nullptr;
    std::vector<QPushButton*> Command1;  // header strip; element 0 places the first row
    std::array<QLineEdit*, 4> txtLabel{};
    std::array<QFrame*, 4> Line2{};  // column rules

    // Row `index` below the previous one: boxes empty and disabled, all shown.
    CountRow AddRow(int index);
    // Panel height and column rules from the last row, then the scroll set-up.
    void Finish();
    void ArrangeScroll();
    // Moves the panel for an arrow or page key; false for any other key.
    bool ScrollKey(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int lastRule_ = 0;
};
