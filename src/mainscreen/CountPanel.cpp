#include "mainscreen/CountPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

#include "core/ReadOnlyTextBox.h"
#include "mainscreen/LevelCountBox.h"

namespace {

// Pixels at 15 twips each, as the windows were laid out.
constexpr int kStripHeight = 25;
constexpr int kGap = 10;
constexpr int kLabelDrop = 2;
constexpr int kPanelWidth = 560;
constexpr std::array<int, 5> kColumns = {0, 30, 295, 383, 471};  // the rules stand at 1 to 4
constexpr int kBoxWidth = 50;
constexpr int kScrollWidth = 17;
constexpr int kSmallChange = 10;

int columnEnd(std::size_t column) {
    return column + 1 < kColumns.size() ? kColumns[column + 1] : kPanelWidth;
}

}  // namespace

void RowLabel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) emit clicked();
}

CountPanel::CountPanel(int stripButtons, int viewportHeight, QWidget* parent) : QWidget(parent) {
    setFixedSize(kPanelWidth + kScrollWidth, viewportHeight);
    Outer = new QWidget(this);
    Outer->setGeometry(0, 0, kPanelWidth, viewportHeight);
    Inner = new QWidget(Outer);
    Inner->setGeometry(0, 0, kPanelWidth, viewportHeight);
    Inner->setFocusPolicy(Qt::StrongFocus);
    Inner->installEventFilter(this);
    Vscroll = new QScrollBar(Qt::Vertical, this);
    // The scroll bar never keeps the focus: the keys scroll the panel instead.
    Vscroll->setFocusPolicy(Qt::NoFocus);
    connect(Vscroll, &QScrollBar::valueChanged, this,
            [this](int value) { Inner->move(0, -value); });

    // One strip button spans the panel; five sit under the five columns. The strip and the
    // headings stay at the top of the viewport while the rows scroll under them.
    for (int k = 0; k < stripButtons; ++k) {
        auto* strip = new QPushButton(Outer);
        strip->setFocusPolicy(Qt::NoFocus);
        strip->setAutoDefault(false);
        strip->setEnabled(false);
        const auto column = static_cast<std::size_t>(k);
        const int left = stripButtons == 1 ? 0 : kColumns[column];
        const int right = stripButtons == 1 ? kPanelWidth : columnEnd(column);
        strip->setGeometry(left, 0, right - left, kStripHeight);
        Command1.push_back(strip);
    }
    for (std::size_t k = 0; k < txtLabel.size(); ++k) {
        auto* heading = new QLineEdit(Outer);
        heading->setReadOnly(true);
        heading->setFrame(false);
        heading->setFocusPolicy(Qt::NoFocus);
        heading->setAlignment(k == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        SuppressContextMenu(heading);
        heading->installEventFilter(this);
        const std::size_t column = k + 1;
        heading->setGeometry(kColumns[column] + 2, 3, columnEnd(column) - kColumns[column] - 4,
                             kStripHeight - 6);
        txtLabel[k] = heading;
    }
    for (std::size_t k = 0; k < Line2.size(); ++k) {
        auto* rule = new QFrame(Inner);
        rule->setFrameShape(QFrame::VLine);
        rule->setFrameShadow(QFrame::Plain);
        rule->setGeometry(kColumns[k + 1], 0, 1, 0);
        Line2[k] = rule;
    }
    lastRule_ = kStripHeight;
}

CountRow CountPanel::AddRow(int index) {
    CountRow row;
    row.check = new QCheckBox(Inner);
    const int top = lastRule_ + kGap;
    const int checkHeight = row.check->sizeHint().height();
    row.check->setGeometry(8, top, kColumns[1] - 10, checkHeight);

    row.caption = new RowLabel(Inner);
    row.caption->setTextFormat(Qt::PlainText);
    row.caption->setGeometry(kColumns[1] + 6, top + kLabelDrop, kColumns[2] - kColumns[1] - 10,
                             checkHeight);

    for (int level = 1; level <= 3; ++level) {
        auto* box = new LevelCountBox(index, level, Inner);
        const std::size_t column = static_cast<std::size_t>(level) + 1;
        const int left = (kColumns[column] + columnEnd(column) - kBoxWidth) / 2;
        box->setGeometry(left, top, kBoxWidth, box->sizeHint().height());
        box->setEnabled(false);
        row.boxes[static_cast<std::size_t>(level - 1)] = box;
    }

    lastRule_ = top + checkHeight + kGap;
    row.rule = new QFrame(Inner);
    row.rule->setFrameShape(QFrame::HLine);
    row.rule->setFrameShadow(QFrame::Plain);
    row.rule->setGeometry(0, lastRule_, kPanelWidth, 1);

    for (QWidget* control : {static_cast<QWidget*>(row.check), static_cast<QWidget*>(row.caption),
                             static_cast<QWidget*>(row.rule)})
        control->show();
    for (LevelCountBox* box : row.boxes)
        box->show();
    return row;
}

void CountPanel::Finish() {
    Inner->resize(kPanelWidth, lastRule_ + 1);
    for (QFrame* rule : Line2)
        rule->setGeometry(rule->x(), 0, 1, lastRule_);
    ArrangeScroll();
}

void CountPanel::ArrangeScroll() {
    Inner->move(0, 0);
    Vscroll->setGeometry(Outer->x() + Outer->width(), Outer->y(), kScrollWidth, Outer->height());
    const int overflow = Inner->height() - Outer->height();
    Vscroll->setRange(0, std::max(0, overflow));
    if (overflow > 0) {
        Vscroll->setValue(0);
        Vscroll->setVisible(true);
        Vscroll->setEnabled(true);
        Vscroll->setSingleStep(kSmallChange);
        Vscroll->setPageStep(Outer->height());
    } else {
        Vscroll->setEnabled(false);
    }
}

bool CountPanel::ScrollKey(int key) {
    int step = 0;
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            step = -Vscroll->singleStep();
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            step = Vscroll->singleStep();
            break;
        case Qt::Key_PageUp:
            step = -Vscroll->pageStep();
            break;
        case Qt::Key_PageDown:
            step = Vscroll->pageStep();
            break;
        default:
            return false;
    }
    Vscroll->setValue(std::clamp(Vscroll->value() + step, Vscroll->minimum(), Vscroll->maximum()));
    Vscroll->update();
    return true;
}

bool CountPanel::eventFilter(QObject* watched, QEvent* event) {
    // Keys a box or check box inside the panel leaves unused pass by here too; only the
    // panel's own keys scroll.
    if (watched == Inner && event->type() == QEvent::KeyPress) {
        const QWidget* focus = QApplication::focusWidget();
        if (focus && focus != Inner && Inner->isAncestorOf(focus)) return false;
        return ScrollKey(static_cast<QKeyEvent*>(event)->key());
    }
    // The headings are display only: a press hands the focus to the panel.
    if (event->type() == QEvent::MouseButtonPress &&
        std::find(txtLabel.begin(), txtLabel.end(), watched) != txtLabel.end())
        Inner->setFocus();
    return QWidget::eventFilter(watched, event);
}
